#include "workbook/file/WriterLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "module1/Fault.h"
#include "workbook/file/InterruptedRun.h"
#include "workbook/file/LockFile.h"

namespace vk {

namespace {

[[noreturn]] void systemFault(const std::string& what, int error) {
  throw Fault(FaultKind::Workbook, what + ": " + std::strerror(error));
}

std::optional<LockEntry> readEntry(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  char buffer[4096];
  ssize_t n = ::read(fd, buffer, sizeof buffer);
  ::close(fd);
  if (n <= 0) return std::nullopt;
  return LockEntry::parse(std::string_view(buffer, std::size_t(n)));
}

// A write lock on the whole open file; false when another holds one.
bool lockOpenFile(int fd) {
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  if (::fcntl(fd, F_OFD_SETLK, &whole) == 0) return true;
  if (errno == EAGAIN || errno == EACCES) return false;
  // A file system without such locks: flock, also per open file.
  if (errno == EINVAL && ::flock(fd, LOCK_EX | LOCK_NB) != 0) return errno != EWOULDBLOCK;
  return true;  // no lock to be had (ENOLCK): the lock file still says who writes
}

// Who holds the lock on the file, as its lock file says. A holder that has
// just taken the lock writes its lock file a moment later.
std::string holderOfLockedFile(const std::string& file) {
  const auto path = lockFilePath(file);
  for (int look = 0; path && look < 10; ++look) {
    if (const auto entry = readEntry(*path)) return holderName(*entry);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return "another program";
}

bool sameFile(int fd, const std::string& path) {
  struct stat open, named;
  return ::fstat(fd, &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

}  // namespace

WriterLock::WriterLock(std::string file, std::string label) : file_(std::move(file)), label_(std::move(label)) {}

WriterLock::~WriterLock() { release(); }

void WriterLock::acquire() {
  if (held_) return;
  lockFile();
  try {
    writeLockFile();
  } catch (const Fault&) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    throw;
  }
  held_ = true;
}

void WriterLock::lockFile() {
  // A save elsewhere may put a new file in place between the open and the
  // lock; the lock must be on the file that is there.
  for (int attempt = 0; attempt < 10; ++attempt) {
    int fd = ::open(file_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return;                    // a copy not made yet: its lock file is the lock
      if (errno == EACCES || errno == EROFS) return;  // read-only: refused before anything is written
      systemFault("cannot open the workbook " + label_, errno);
    }
    if (!lockOpenFile(fd)) {
      ::close(fd);
      throw Fault(FaultKind::Workbook, "the workbook " + label_ + " is being written by " + holderOfLockedFile(file_) +
                                           "; try again when it has finished");
    }
    if (sameFile(fd, file_)) {
      fd_ = fd;
      return;
    }
    ::close(fd);
  }
  throw Fault(FaultKind::Workbook, "the workbook " + label_ + " keeps being replaced by another program; try again");
}

// Makes the lock file with its entry in it, never empty: written unnamed and
// linked into place, so that a process killed meanwhile leaves nothing a
// later run could not tell as stale. False when the name is taken; nothing
// when the file system has no unnamed files (the caller creates it then).
std::optional<bool> linkWholeLockFile(const std::string& path, const std::string& entry) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return std::nullopt;
  const bool written = ::write(fd, entry.data(), entry.size()) == ssize_t(entry.size());
  const std::string unnamed = "/proc/self/fd/" + std::to_string(fd);
  const int linked = written ? ::linkat(AT_FDCWD, unnamed.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) : -1;
  const int error = errno;
  ::close(fd);
  if (linked == 0) return true;
  if (written && error == EEXIST) return false;
  if (written && error == ENOENT) return std::nullopt;  // no /proc to link from
  systemFault("cannot write the lock file " + path, error);
}

void WriterLock::writeLockFile() {
  const auto path = lockFilePath(file_);
  if (!path) return;  // a name too long for one: the lock on the file alone
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::optional<bool> linked = linkWholeLockFile(*path, entryOfThisProcess().format());
    if (linked == true) {
      registration_ = registerLockFile(*path);  // never before it is this process's
      ownLockFile_ = true;
      return;
    }
    int fd = -1;
    if (linked.has_value())
      errno = EEXIST;  // taken
    else
      fd = ::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      registration_ = registerLockFile(*path);  // never before it is this process's
      const std::string entry = entryOfThisProcess().format();
      const bool written = ::write(fd, entry.data(), entry.size()) == ssize_t(entry.size());
      const int error = errno;
      ::close(fd);
      if (!written) {
        ::unlink(path->c_str());
        unregisterLockFile(registration_);
        registration_ = -1;
        systemFault("cannot write the lock file " + *path, error);
      }
      ownLockFile_ = true;
      return;
    }
    if (errno != EEXIST) systemFault("cannot write the lock file " + *path, errno);
    const auto entry = readEntry(*path);
    if (!entry) {
      struct stat lock;
      if (::stat(path->c_str(), &lock) != 0) continue;  // gone meanwhile: try again
      // Empty while this process holds the lock on the workbook: a run of a
      // program that ended between making its lock file and writing it.
      if (lock.st_size == 0 && fd_ >= 0)
        throw Fault(FaultKind::Workbook, "the workbook " + label_ + " has a stale lock file: " + *path +
                                             " is empty, left by a program that ended while making it. Delete the "
                                             "lock file and try again");
      throw Fault(FaultKind::Workbook, "the workbook " + label_ + " is open in another program: its lock file " +
                                           *path + " is there. Close it there and try again");
    }
    switch (holderOf(*entry)) {
      case LockHolder::ThisProcess:
        ownLockFile_ = true;
        registration_ = registerLockFile(*path);
        return;
      case LockHolder::GoneRunOfThisProgram:
        throw Fault(FaultKind::Workbook, "the workbook " + label_ + " has a stale lock file: " + *path + " names " +
                                             holderName(*entry) +
                                             " on this computer, which no longer runs. Delete the lock file and "
                                             "try again");
      case LockHolder::Someone:
        throw Fault(FaultKind::Workbook, "the workbook " + label_ +
                                             " is open in another program: " + holderName(*entry) +
                                             " holds its lock file " + *path + ". Close it there and try again");
    }
  }
  throw Fault(FaultKind::Workbook, "cannot make the lock file " + *path + ": it keeps changing");
}

void WriterLock::release() {
  if (ownLockFile_) {
    ownLockFile_ = false;
    const auto path = lockFilePath(file_);
    const auto entry = path ? readEntry(*path) : std::nullopt;
    // Another program's lock file that took its place stays.
    if (entry && holderOf(*entry) == LockHolder::ThisProcess) ::unlink(path->c_str());
    unregisterLockFile(registration_);
    registration_ = -1;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  held_ = false;
}

}  // namespace vk

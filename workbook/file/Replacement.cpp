#include "workbook/file/Replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "module1/Fault.h"

namespace vk {

namespace {

std::function<void(SaveStage)>& hook() {
  static std::function<void(SaveStage)> h;
  return h;
}

[[noreturn]] void systemFault(const std::string& what, int error) {
  throw Fault(FaultKind::Workbook, what + ": " + std::strerror(error));
}

// FNV-1a: enough to tell the names in one folder apart.
std::uint32_t nameHash(const std::string& name) {
  std::uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

// At most `limit` bytes of `name`, not cutting a UTF-8 character.
std::string leadingBytes(const std::string& name, std::size_t limit) {
  if (name.size() <= limit) return name;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

std::string folderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

constexpr std::size_t kRandomPart = 6;  // mkstemp's XXXXXX

void removeLeftovers(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + kRandomPart && name.compare(0, prefix.size(), prefix) == 0)
      ::unlinkat(::dirfd(dir), name.c_str(), 0);
  }
  ::closedir(dir);
}

void syncFolder(const std::string& folder) {
  // Makes the rename itself durable; not every file system can sync a folder.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// Renames only when nothing is at `to`; false when something is.
bool renameNoReplace(const char* from, const char* to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
  if (errno == EEXIST) return false;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without RENAME_NOREPLACE: a hard link refuses an existing name too.
  if (::link(from, to) == 0) {
    ::unlink(from);
    return true;
  }
  return false;
}

}  // namespace

void setSaveHook(std::function<void(SaveStage)> h) { hook() = std::move(h); }

void reachSaveStage(SaveStage stage) {
  if (hook()) hook()(stage);
}

std::string temporaryPrefix(const std::string& fileName) {
  char id[16];
  std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>(nameHash(fileName)));
  return "." + leadingBytes(fileName, 16) + ".saving-" + id + "-";
}

Replacement::Replacement(std::string target) : target_(std::move(target)) {
  const std::string folder = folderOf(target_);
  const std::string prefix = temporaryPrefix(std::filesystem::path(target_).filename().string());
  removeLeftovers(folder, prefix);
  std::string pattern = folder + "/" + prefix + std::string(kRandomPart, 'X');
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) systemFault("cannot create a temporary file beside " + target_, errno);
  temporary_ = pattern;
  try {
    reachSaveStage(SaveStage::TemporaryCreated);
  } catch (...) {
    removeTemporary();  // a constructor that throws gets no destructor call
    throw;
  }
}

Replacement::~Replacement() { removeTemporary(); }

void Replacement::removeTemporary() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!inPlace_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void Replacement::write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      systemFault("cannot write the temporary file " + temporary_, errno);
    }
    bytes.remove_prefix(std::size_t(n));
  }
}

void Replacement::writeAt(std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), off_t(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      systemFault("cannot write the temporary file " + temporary_, errno);
    }
    bytes.remove_prefix(std::size_t(n));
    offset += std::uint64_t(n);
  }
}

void Replacement::finish(const struct stat& like, bool sameOwner) {
  if (fd_ >= 0) {
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) systemFault("cannot close the temporary file " + temporary_, errno);
  }
  // Opened again by its name: another program may have written it.
  int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) systemFault("cannot open the temporary file " + temporary_, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fchmod(fd, like.st_mode & 07777) != 0)
    systemFault("cannot give the temporary file the workbook's permissions", errno);
  // Only a privileged process may give a file away; others keep their own.
  if (sameOwner && ::fchown(fd, like.st_uid, like.st_gid) != 0 && errno != EPERM)
    systemFault("cannot give the temporary file the workbook's owner", errno);
  if (::fsync(fd) != 0) systemFault("cannot flush the temporary file " + temporary_ + " to disk", errno);
  reachSaveStage(SaveStage::Synced);
}

bool Replacement::putInPlace(const std::optional<DiskStamp>& expected) {
  if (expected) {
    // Checked right before the rename: a file replaced or edited since it
    // was read is never overwritten.
    if (stampOf(target_) != expected) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
      systemFault("cannot replace the workbook " + target_, errno);
  } else if (!renameNoReplace(temporary_.c_str(), target_.c_str())) {
    const int error = errno;
    if (error == EEXIST || stampOf(target_)) return false;
    systemFault("cannot write the workbook " + target_, error);
  }
  inPlace_ = true;
  syncFolder(folderOf(target_));
  reachSaveStage(SaveStage::Renamed);
  return true;
}

}  // namespace vk

#include "workbook/xlsx/package/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {

std::function<void(SaveStage)>& hook() {
  static std::function<void(SaveStage)> h;
  return h;
}

void reach(SaveStage stage) {
  if (hook()) hook()(stage);
}

DiskStamp stampFrom(const struct stat& st) {
  DiskStamp s;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modified = st.st_mtim;
  return s;
}

[[noreturn]] void systemFault(const std::string& what, int error) {
  throw Fault(FaultKind::Workbook, what + ": " + std::strerror(error));
}

void writeAll(int fd, std::string_view bytes, const std::string& tempPath) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      systemFault("cannot write the temporary file " + tempPath, errno);
    }
    bytes.remove_prefix(std::size_t(n));
  }
}

// Removes the temporary file unless the save went through.
struct TemporaryFile {
  std::string path;
  int fd = -1;
  bool renamed = false;
  ~TemporaryFile() {
    if (fd >= 0) ::close(fd);
    if (!renamed && !path.empty()) ::unlink(path.c_str());
  }
};

}  // namespace

bool DiskStamp::operator==(const DiskStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

std::optional<DiskStamp> stampOf(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return stampFrom(st);
}

std::string readWorkbookFile(const std::string& path, std::uint64_t maxSize, DiskStamp& stamp) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) systemFault("cannot open the workbook " + path, errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0) systemFault("cannot read the workbook " + path, errno);
  if (!S_ISREG(st.st_mode)) throw Fault(FaultKind::Workbook, path + " is not a file");
  if (std::uint64_t(st.st_size) > maxSize)
    throw Fault(FaultKind::Workbook, path + " is too large to be a workbook this program can open (" +
                                         std::to_string(st.st_size >> 20) + " MB)");
  std::string bytes(std::size_t(st.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) systemFault("cannot read the workbook " + path, errno);
    if (n == 0) break;
    done += std::size_t(n);
  }
  bytes.resize(done);
  // The file may have changed while it was read; the stamp must be of the
  // version whose bytes these are.
  struct stat after;
  if (::fstat(fd, &after) != 0 || stampFrom(after) != stampFrom(st) || done != std::size_t(st.st_size))
    throw Fault(FaultKind::Workbook, path + " changed while it was being read; try again");
  stamp = stampFrom(st);
  return bytes;
}

std::optional<std::string> foreignLockFile(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path file(path);
  const std::string name = file.filename().string();
  std::vector<std::string> candidates = {".~lock." + name + "#", "~$" + name};
  // Excel shortens long names: it replaces their first characters by "~$".
  if (name.size() > 1) candidates.push_back("~$" + name.substr(1));
  if (name.size() > 2) candidates.push_back("~$" + name.substr(2));
  for (const std::string& candidate : candidates) {
    std::error_code ec;
    fs::path lock = file.parent_path() / candidate;
    if (fs::exists(lock, ec)) return lock.string();
  }
  return std::nullopt;
}

void setSaveHook(std::function<void(SaveStage)> h) { hook() = std::move(h); }

DiskStamp replaceFile(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  struct stat original;
  if (::stat(path.c_str(), &original) != 0) systemFault("cannot save the workbook " + path, errno);
  fs::path file(path);
  TemporaryFile temp;
  std::string pattern = (file.parent_path() / ("." + file.filename().string() + ".saving-XXXXXX")).string();
  temp.fd = ::mkstemp(pattern.data());
  if (temp.fd < 0) systemFault("cannot create a temporary file beside " + path, errno);
  temp.path = pattern;
  reach(SaveStage::TemporaryCreated);

  writeAll(temp.fd, bytes.substr(0, bytes.size() / 2), temp.path);
  reach(SaveStage::HalfWritten);
  writeAll(temp.fd, bytes.substr(bytes.size() / 2), temp.path);
  reach(SaveStage::Written);

  if (::fchmod(temp.fd, original.st_mode & 07777) != 0)
    systemFault("cannot give the temporary file the workbook's permissions", errno);
  // Only a privileged process may give a file away; others keep their own.
  if (::fchown(temp.fd, original.st_uid, original.st_gid) != 0 && errno != EPERM)
    systemFault("cannot give the temporary file the workbook's owner", errno);
  if (::fsync(temp.fd) != 0) systemFault("cannot flush the temporary file " + temp.path + " to disk", errno);
  reach(SaveStage::Synced);
  int fd = temp.fd;
  temp.fd = -1;
  if (::close(fd) != 0) systemFault("cannot close the temporary file " + temp.path, errno);

  if (::rename(temp.path.c_str(), path.c_str()) != 0) systemFault("cannot replace the workbook " + path, errno);
  temp.renamed = true;
  // Make the rename itself durable; not every file system can sync a folder.
  int dir = ::open(file.parent_path().empty() ? "." : file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  reach(SaveStage::Renamed);
  auto stamp = stampOf(path);
  if (!stamp) throw Fault(FaultKind::Workbook, "the saved workbook " + path + " has disappeared");
  return *stamp;
}

}  // namespace vk::xlsx

#include "workbook/xlsx/package/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "module1/Fault.h"
#include "workbook/file/LockFile.h"

namespace vk::xlsx {

namespace {

[[noreturn]] void systemFault(const std::string& what, int error) {
  throw Fault(FaultKind::Workbook, what + ": " + std::strerror(error));
}

bool isLockOfThisProcess(const std::filesystem::path& lock) {
  std::ifstream in(lock, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto entry = LockEntry::parse(text);
  return entry && holderOf(*entry) == LockHolder::ThisProcess;
}

}  // namespace

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
    if (fs::exists(lock, ec) && !(candidate == candidates[0] && isLockOfThisProcess(lock))) return lock.string();
  }
  return std::nullopt;
}

std::optional<DiskStamp> replaceFile(const std::string& path, const std::function<void(Replacement&)>& write,
                                     const std::optional<DiskStamp>& expected, const std::string& model) {
  struct stat like;
  if (::stat(model.c_str(), &like) != 0) systemFault("cannot save the workbook " + path, errno);
  Replacement next(path);
  write(next);
  reachSaveStage(SaveStage::Written);
  next.finish(like, model == path);
  if (!next.putInPlace(expected)) return std::nullopt;
  auto stamp = stampOf(path);
  if (!stamp) throw Fault(FaultKind::Workbook, "the saved workbook " + path + " has disappeared");
  return stamp;
}

}  // namespace vk::xlsx

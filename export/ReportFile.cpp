#include "export/ReportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "export/FdStream.h"

namespace vk::exporter {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
  throw std::runtime_error(what + ": " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
  const std::string folder = fs::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// A new file beside the report, created with the umask's permissions as
// any new file of the user's would be.
std::pair<std::string, int> createTemporary(const std::string& report) {
  const fs::path file(report);
  for (int attempt = 0;; ++attempt) {
    const std::string path = (file.parent_path() / ("." + file.filename().string() + ".writing-" +
                                                    std::to_string(::getpid()) + "-" + std::to_string(attempt)))
                                 .string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return {path, fd};
    if (errno != EEXIST || attempt == 100) fail("cannot create a temporary file beside " + report, errno);
  }
}

}  // namespace

void checkFolderWritable(const std::string& path) {
  const std::string folder = folderOf(path);
  std::error_code ec;
  const fs::file_status status = fs::status(folder, ec);
  if (!fs::is_directory(status)) throw std::runtime_error("the folder " + folder + " does not exist");
  const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & writable) == fs::perms::none || ::access(folder.c_str(), W_OK | X_OK) != 0)
    throw std::runtime_error("the folder " + folder + " is read-only; " + fs::path(path).filename().string() +
                             " cannot be written there");
}

StagedReportFile::StagedReportFile(std::string path, std::string_view bytes)
    : StagedReportFile(std::move(path), [bytes](std::ostream& out) { out << bytes; }) {}

StagedReportFile::StagedReportFile(std::string path, const std::function<void(std::ostream&)>& write)
    : path_(std::move(path)) {
  checkFolderWritable(path_);
  const auto [temporary, fd] = createTemporary(path_);
  try {
    FdStream out(fd);
    write(out);
    out.flush();
    if (!out) fail("cannot write " + path_, out.error());
    if (::fsync(fd) != 0) fail("cannot write " + path_, errno);
  } catch (...) {
    ::close(fd);
    ::unlink(temporary.c_str());
    throw;
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    fail("cannot write " + path_, error);
  }
  temporary_ = temporary;
}

StagedReportFile::~StagedReportFile() {
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

StagedReportFile::StagedReportFile(StagedReportFile&& other) noexcept
    : path_(std::move(other.path_)), temporary_(std::exchange(other.temporary_, {})) {}

void StagedReportFile::publish() {
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) fail("cannot write " + path_, errno);
  temporary_.clear();
}

void writeReportFile(const std::string& path, std::string_view bytes) { StagedReportFile(path, bytes).publish(); }

}  // namespace vk::exporter

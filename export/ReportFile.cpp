#include "export/ReportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

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
// any new file of the user's would be, and removed again unless it became
// the report.
class Temporary {
 public:
  explicit Temporary(const std::string& report) {
    const fs::path file(report);
    for (int attempt = 0;; ++attempt) {
      path_ = (file.parent_path() / ("." + file.filename().string() + ".writing-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(attempt)))
                  .string();
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) return;
      if (errno != EEXIST || attempt == 100) fail("cannot create a temporary file beside " + report, errno);
    }
  }
  ~Temporary() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  Temporary(const Temporary&) = delete;
  Temporary& operator=(const Temporary&) = delete;

  int fd() const { return fd_; }
  // Closes the file and gives it the report's name.
  void renameTo(const std::string& report) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail("cannot write " + report, errno);
    if (::rename(path_.c_str(), report.c_str()) != 0) fail("cannot write " + report, errno);
    renamed_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool renamed_ = false;
};

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

void writeReportFile(const std::string& path, std::string_view bytes) {
  checkFolderWritable(path);
  Temporary temp(path);
  while (!bytes.empty()) {
    const ssize_t n = ::write(temp.fd(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("cannot write " + path, errno);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  if (::fsync(temp.fd()) != 0) fail("cannot write " + path, errno);
  temp.renameTo(path);
}

}  // namespace vk::exporter

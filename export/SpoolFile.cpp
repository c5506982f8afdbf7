#include "export/SpoolFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <stdexcept>

namespace vk::exporter {

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
  throw std::runtime_error(what + ": " + std::strerror(error));
}

// O_TMPFILE where the file system has it; else a file made and unlinked at
// once, which a kill between the two steps can leave (named .spool-*).
int unnamedFile(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  std::string name = folder + "/.spool-XXXXXX";
  const int named = ::mkostemp(name.data(), O_CLOEXEC);
  if (named < 0) fail("cannot make a temporary file in " + folder, errno);
  ::unlink(name.c_str());
  return named;
}

}  // namespace

SpoolFile::SpoolFile(const std::string& folder) : folder_(folder), fd_(unnamedFile(folder)), stream_(fd_) {}

SpoolFile::~SpoolFile() { ::close(fd_); }

void SpoolFile::copyTo(std::ostream& out) {
  stream_.flush();
  if (!stream_) fail("cannot write a temporary file in " + folder_, stream_.error());
  char buffer[1 << 16];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd_, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("cannot read back a temporary file in " + folder_, errno);
    if (n == 0) return;
    out.write(buffer, n);
    at += n;
  }
}

}  // namespace vk::exporter

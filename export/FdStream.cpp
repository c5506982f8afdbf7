#include "export/FdStream.h"

#include <unistd.h>

#include <cerrno>

namespace vk::exporter {

FdBuffer::FdBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }

bool FdBuffer::flushBuffer() {
  const char* at = pbase();
  while (at < pptr()) {
    const ssize_t n = ::write(fd_, at, std::size_t(pptr() - at));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      if (!error_) error_ = errno;
      return false;
    }
    at += n;
  }
  setp(buffer_, buffer_ + sizeof buffer_);
  return true;
}

FdBuffer::int_type FdBuffer::overflow(int_type c) {
  if (!flushBuffer()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

int FdBuffer::sync() { return flushBuffer() ? 0 : -1; }

}  // namespace vk::exporter

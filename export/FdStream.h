#pragma once
// An output stream over a file descriptor, for report files written as they
// are produced rather than held whole in memory. A failed write sets the
// stream's badbit and keeps errno for the message.

#include <ostream>
#include <streambuf>

namespace vk::exporter {

class FdBuffer : public std::streambuf {
 public:
  explicit FdBuffer(int fd);
  int error() const { return error_; }  // errno of the first failed write; 0 when none

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool flushBuffer();

  int fd_;
  int error_ = 0;
  char buffer_[1 << 16];
};

class FdStream : public std::ostream {
 public:
  explicit FdStream(int fd) : std::ostream(nullptr), buffer_(fd) { rdbuf(&buffer_); }
  int error() const { return buffer_.error(); }

 private:
  FdBuffer buffer_;
};

}  // namespace vk::exporter

#include "workbook/xlsx/package/PartStream.h"

#include <zlib.h>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {
constexpr std::size_t kOut = std::size_t(1) << 20;
[[noreturn]] void cannotCompress() { throw Fault(FaultKind::Workbook, "cannot compress a part of the workbook"); }
}  // namespace

PartStream::PartStream(Sink sink) : sink_(std::move(sink)), z_(std::make_unique<z_stream>()), out_(kOut, '\0') {
  if (deflateInit2(z_.get(), Z_BEST_SPEED, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) cannotCompress();
  slice_.reserve(2 * kOut);  // handed back to be written into: a slice and a row
  try {
    thread_ = std::thread([this] { run(); });
  } catch (...) {
    deflateEnd(z_.get());
    throw;
  }
}

PartStream::~PartStream() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
  deflateEnd(z_.get());
}

void PartStream::deflateSlice(const std::string& text, int flush) {
  z_stream& z = *z_;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = uInt(text.size());
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(out_.data());
    z.avail_out = uInt(out_.size());
    const int result = deflate(&z, flush);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) cannotCompress();
    sink_(std::string_view(out_.data(), out_.size() - z.avail_out));
    if (result == Z_STREAM_END || (flush != Z_FINISH && z.avail_in == 0 && z.avail_out != 0)) return;
  }
}

void PartStream::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return busy_ || stopping_; });
    if (!busy_) return;
    lock.unlock();
    std::exception_ptr failure;
    try {
      deflateSlice(slice_, Z_NO_FLUSH);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    busy_ = false;
    changed_.notify_all();
    if (failure_ || stopping_) return;
  }
}

void PartStream::waitIdle(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [&] { return !busy_; });
  if (failure_) std::rethrow_exception(failure_);
}

void PartStream::compress(std::string& text) {
  {
    std::unique_lock lock(mutex_);
    waitIdle(lock);
    slice_.swap(text);
    busy_ = true;
  }
  changed_.notify_all();
  text.clear();
}

void PartStream::finish(std::string& text) {
  {
    std::unique_lock lock(mutex_);
    waitIdle(lock);
  }
  // The thread waits for a slice that does not come: the last one is
  // compressed here, and the stream is done with the thread.
  deflateSlice(text, Z_FINISH);
  text.clear();
}

}  // namespace vk::xlsx

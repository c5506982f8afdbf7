#include "workbook/xlsx/package/PartStream.h"

#include <isa-l/igzip_lib.h>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {
constexpr std::size_t kOut = std::size_t(1) << 20;
[[noreturn]] void cannotCompress() { throw Fault(FaultKind::Workbook, "cannot compress a part of the workbook"); }
}  // namespace

PartStream::PartStream(Sink sink)
    : sink_(std::move(sink)),
      z_(std::make_unique<isal_zstream>()),
      levelBuffer_(ISAL_DEF_LVL1_DEFAULT),
      out_(kOut, '\0') {
  isal_deflate_init(z_.get());
  z_->level = 1;
  z_->level_buf = levelBuffer_.data();
  z_->level_buf_size = std::uint32_t(levelBuffer_.size());
  slice_.reserve(2 * kOut);  // handed back to be written into: a slice and a row
  thread_ = std::thread([this] { run(); });
}

PartStream::~PartStream() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void PartStream::deflateSlice(const std::string& text, bool last) {
  isal_zstream& z = *z_;
  z.next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(text.data()));
  z.avail_in = std::uint32_t(text.size());
  z.end_of_stream = last;
  // Until the slice is taken in and nothing waits in the compressor's own
  // buffers: a full output buffer may leave some there.
  do {
    z.next_out = reinterpret_cast<std::uint8_t*>(out_.data());
    z.avail_out = std::uint32_t(out_.size());
    if (isal_deflate(&z) != COMP_OK) cannotCompress();
    sink_(std::string_view(out_.data(), out_.size() - z.avail_out));
  } while (z.avail_in > 0 || z.avail_out == 0 || (last && z.internal_state.state != ZSTATE_END));
}

void PartStream::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return busy_ || stopping_; });
    if (!busy_) return;
    lock.unlock();
    std::exception_ptr failure;
    try {
      deflateSlice(slice_, false);
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
  deflateSlice(text, true);
  text.clear();
}

}  // namespace vk::xlsx

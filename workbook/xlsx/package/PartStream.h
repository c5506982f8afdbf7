#pragma once
// The compression of a part too large to stand in memory whole: ISA-L's
// deflate at its level 1 (six times zlib's fastest level, and smaller), a
// slice at a time, on a thread of its own, so that the
// next slice of text is made while this one is compressed (a results sheet
// of a million cells takes as long to write out as to compress).

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct isal_zstream;

namespace vk::xlsx {

class PartStream {
 public:
  using Sink = std::function<void(std::string_view)>;

  // The compressed bytes go to `sink`, from the stream's thread until finish().
  explicit PartStream(Sink sink);
  // Stops the thread; what it had not compressed is dropped.
  ~PartStream();
  PartStream(const PartStream&) = delete;
  PartStream& operator=(const PartStream&) = delete;

  // Hands over a slice of text to compress and gives back an emptied buffer
  // for the next one; waits while the slice before is still compressed.
  void compress(std::string& text);
  // Compresses the last slice and ends the stream.
  void finish(std::string& text);

 private:
  void run();
  // Waits until the thread has no slice; rethrows what failed there.
  void waitIdle(std::unique_lock<std::mutex>& lock);
  void deflateSlice(const std::string& text, bool last);

  Sink sink_;
  std::unique_ptr<isal_zstream> z_;
  std::vector<std::uint8_t> levelBuffer_;  // the compressor's working memory
  std::string slice_;                      // what the thread compresses
  std::string out_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool busy_ = false;      // a slice waits or is being compressed
  bool stopping_ = false;  // the thread is to end
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace vk::xlsx

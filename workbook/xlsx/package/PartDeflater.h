#pragma once
// A part compressed as its text is produced. A part is compressed whole by
// libdeflate, the fastest deflate and smaller than zlib at its fast levels,
// unless its text grows past kWholeLimit (the readings or results of tens of
// thousands of rows): that one is streamed (PartStream.h), so that its text
// never stands in memory whole. The limit is low enough that the text and
// compressed buffers of a whole part stay small beside the workbook (6 sets
// of 32,723 readings peak at 92 MB with 2 MB, 99 MB with 8 MB) and high
// enough that every part of an ordinary test is compressed whole. The
// compressed bytes go to a sink as they are made.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "workbook/xlsx/package/PartStream.h"

struct libdeflate_compressor;

namespace vk::xlsx {

// What a zip entry records of the text it holds.
struct PartSummary {
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

// The buffers and the compressor of one save, used for each of its parts in
// turn instead of being made and dropped per part.
class PartCompression {
 public:
  PartCompression();
  ~PartCompression();
  PartCompression(const PartCompression&) = delete;
  PartCompression& operator=(const PartCompression&) = delete;

 private:
  friend class PartDeflater;
  // Room for `size` compressed bytes; never filled before use.
  char* compressed(std::size_t size);

  libdeflate_compressor* compressor_ = nullptr;
  std::string text_;
  std::unique_ptr<char[]> compressed_;
  std::size_t compressedSize_ = 0;
};

class PartDeflater {
 public:
  using Sink = std::function<void(std::string_view)>;
  static constexpr std::size_t kWholeLimit = std::size_t(2) << 20;

  PartDeflater(PartCompression& buffers, Sink sink);
  ~PartDeflater();
  PartDeflater(const PartDeflater&) = delete;
  PartDeflater& operator=(const PartDeflater&) = delete;

  // The producer appends the part's text here and calls passOn() now and
  // then (after each row); what is there is compressed once it is large.
  std::string& text() { return buffers_.text_; }
  void passOn() {
    if (text().size() >= (stream_ ? kSlice : kWholeLimit)) compressSlice();
  }
  void append(std::string_view text) {
    this->text() += text;
    passOn();
  }
  // Compresses the rest; the deflater is spent.
  PartSummary finish();

 private:
  static constexpr std::size_t kSlice = std::size_t(1) << 20;
  void compressSlice();

  PartCompression& buffers_;
  Sink sink_;
  std::unique_ptr<PartStream> stream_;
  PartSummary summary_;
};

}  // namespace vk::xlsx

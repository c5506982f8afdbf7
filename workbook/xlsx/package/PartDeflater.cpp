#include "workbook/xlsx/package/PartDeflater.h"

#include <libdeflate.h>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {

// The level at which a whole part is compressed: the fastest that keeps the
// files within a tenth of what zlib's default level made of them (level 1
// does not: a workbook of six probes grows 11 %).
constexpr int kWholeLevel = 2;

[[noreturn]] void cannotCompress() { throw Fault(FaultKind::Workbook, "cannot compress a part of the workbook"); }

}  // namespace

PartCompression::PartCompression() : compressor_(libdeflate_alloc_compressor(kWholeLevel)) {
  if (!compressor_) cannotCompress();
}

PartCompression::~PartCompression() { libdeflate_free_compressor(compressor_); }

char* PartCompression::compressed(std::size_t size) {
  if (compressedSize_ < size) {
    compressed_.reset(new char[size]);
    compressedSize_ = size;
  }
  return compressed_.get();
}

PartDeflater::PartDeflater(PartCompression& buffers, Sink sink) : buffers_(buffers), sink_(std::move(sink)) {
  buffers_.text_.clear();
  // Room for the largest part compressed whole and a row more, so that the
  // text is never moved as it grows; what is not written costs no memory.
  buffers_.text_.reserve(kWholeLimit + kSlice);
}

PartDeflater::~PartDeflater() = default;

void PartDeflater::compressSlice() {
  std::string& text = buffers_.text_;
  summary_.crc = std::uint32_t(libdeflate_crc32(summary_.crc, text.data(), text.size()));
  summary_.size += text.size();
  // Too large to be compressed whole: streamed from here on.
  if (!stream_) stream_ = std::make_unique<PartStream>(sink_);
  stream_->compress(text);
}

PartSummary PartDeflater::finish() {
  std::string& text = buffers_.text_;
  if (stream_) {
    summary_.crc = std::uint32_t(libdeflate_crc32(summary_.crc, text.data(), text.size()));
    summary_.size += text.size();
    stream_->finish(text);
    return summary_;
  }
  const std::size_t bound = libdeflate_deflate_compress_bound(buffers_.compressor_, text.size());
  char* out = buffers_.compressed(bound);
  const std::size_t n = libdeflate_deflate_compress(buffers_.compressor_, text.data(), text.size(), out, bound);
  if (n == 0) cannotCompress();
  summary_.crc = std::uint32_t(libdeflate_crc32(0, text.data(), text.size()));
  summary_.size = text.size();
  sink_(std::string_view(out, n));
  text.clear();
  return summary_;
}

}  // namespace vk::xlsx

#include "workbook/xlsx/package/PartDeflater.h"

#include <libdeflate.h>
#include <zlib.h>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {

// The level at which a whole part is compressed: the fastest that keeps the
// files within a tenth of what zlib's default level made of them.
constexpr int kWholeLevel = 3;

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

struct PartDeflater::Stream {
  z_stream z{};
  bool started = false;
  ~Stream() {
    if (started) deflateEnd(&z);
  }
};

PartDeflater::PartDeflater(PartCompression& buffers, Sink sink) : buffers_(buffers), sink_(std::move(sink)) {
  buffers_.text_.clear();
  // Room for the largest part compressed whole and a row more, so that the
  // text is never moved as it grows; what is not written costs no memory.
  buffers_.text_.reserve(kWholeLimit + kSlice);
}

PartDeflater::~PartDeflater() = default;

void PartDeflater::deflateText(int flush) {
  std::string& text = buffers_.text_;
  char* out = buffers_.compressed(kSlice);
  z_stream& z = stream_->z;
  z.next_in = reinterpret_cast<Bytef*>(text.data());
  z.avail_in = uInt(text.size());
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(out);
    z.avail_out = uInt(kSlice);
    const int result = deflate(&z, flush);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) cannotCompress();
    sink_(std::string_view(out, kSlice - z.avail_out));
    if (result == Z_STREAM_END || (flush != Z_FINISH && z.avail_in == 0 && z.avail_out != 0)) break;
  }
  text.clear();
}

void PartDeflater::compressSlice() {
  std::string& text = buffers_.text_;
  summary_.crc = std::uint32_t(libdeflate_crc32(summary_.crc, text.data(), text.size()));
  summary_.size += text.size();
  if (!stream_) {
    // Too large to be compressed whole: streamed from here on.
    stream_ = std::make_unique<Stream>();
    if (deflateInit2(&stream_->z, Z_BEST_SPEED, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) cannotCompress();
    stream_->started = true;
  }
  deflateText(Z_NO_FLUSH);
}

PartSummary PartDeflater::finish() {
  std::string& text = buffers_.text_;
  if (stream_) {
    summary_.crc = std::uint32_t(libdeflate_crc32(summary_.crc, text.data(), text.size()));
    summary_.size += text.size();
    deflateText(Z_FINISH);
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

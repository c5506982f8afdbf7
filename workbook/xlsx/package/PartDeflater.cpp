#include "workbook/xlsx/package/PartDeflater.h"

#include <zlib.h>

#include "module1/Fault.h"

namespace vk::xlsx {

namespace {
constexpr std::size_t kSlice = std::size_t(1) << 20;
constexpr std::uint64_t kFastAfter = std::uint64_t(1) << 20;
}  // namespace

struct PartDeflater::Stream {
  z_stream z{};
  std::unique_ptr<char[]> slice{new char[kSlice]};
};

PartDeflater::PartDeflater() : stream_(std::make_unique<Stream>()) {
  if (deflateInit2(&stream_->z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw Fault(FaultKind::Workbook, "cannot start compressing a part of the workbook");
  part_.crc = std::uint32_t(crc32_z(0, nullptr, 0));
}

PartDeflater::~PartDeflater() { deflateEnd(&stream_->z); }

void PartDeflater::run(int flush) {
  z_stream& z = stream_->z;
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(stream_->slice.get());
    z.avail_out = uInt(kSlice);
    int result = deflate(&z, flush);
    part_.bytes.append(stream_->slice.get(), kSlice - z.avail_out);
    if (result == Z_STREAM_END) return;
    if (result != Z_OK && result != Z_BUF_ERROR)
      throw Fault(FaultKind::Workbook, "cannot compress a part of the workbook");
    if (z.avail_out != 0 && z.avail_in == 0 && flush != Z_FINISH) return;
  }
}

void PartDeflater::append(std::string_view text) {
  z_stream& z = stream_->z;
  part_.crc = std::uint32_t(crc32_z(part_.crc, reinterpret_cast<const Bytef*>(text.data()), text.size()));
  part_.size += text.size();
  while (!text.empty()) {
    std::size_t n = std::min(text.size(), kSlice);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = uInt(n);
    run(Z_NO_FLUSH);
    text.remove_prefix(n);
  }
  if (!fast_ && part_.size > kFastAfter) {
    fast_ = true;
    // Changing the level compresses what is pending; give it room to.
    for (;;) {
      z.next_out = reinterpret_cast<Bytef*>(stream_->slice.get());
      z.avail_out = uInt(kSlice);
      int result = deflateParams(&z, 1, Z_DEFAULT_STRATEGY);
      part_.bytes.append(stream_->slice.get(), kSlice - z.avail_out);
      if (result == Z_OK) break;
      if (result != Z_BUF_ERROR) throw Fault(FaultKind::Workbook, "cannot compress a part of the workbook");
    }
  }
}

CompressedPart PartDeflater::finish() {
  stream_->z.avail_in = 0;
  run(Z_FINISH);
  return std::move(part_);
}

CompressedPart compressPart(std::string_view text) {
  PartDeflater deflater;
  deflater.append(text);
  return deflater.finish();
}

}  // namespace vk::xlsx

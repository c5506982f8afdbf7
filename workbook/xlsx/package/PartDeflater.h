#pragma once
// A part compressed while its text is produced, slice by slice, so that the
// text of a large sheet never stands in memory whole. Small parts are
// compressed well; past the first megabyte the compression turns fast, as a
// results sheet of a million cells would otherwise dominate a save.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vk::xlsx {

struct CompressedPart {
  std::string bytes;       // raw deflate data, as a zip entry stores it
  std::uint64_t size = 0;  // of the text
  std::uint32_t crc = 0;   // of the text
};

class PartDeflater {
 public:
  PartDeflater();
  ~PartDeflater();
  PartDeflater(const PartDeflater&) = delete;
  PartDeflater& operator=(const PartDeflater&) = delete;

  void append(std::string_view text);
  // The compressed part; the deflater is spent.
  CompressedPart finish();

 private:
  struct Stream;
  void run(int flush);
  std::unique_ptr<Stream> stream_;
  CompressedPart part_;
  bool fast_ = false;
};

CompressedPart compressPart(std::string_view text);

}  // namespace vk::xlsx

#pragma once
// The zip archive of a workbook, held in memory: reading its parts within the
// limits, and writing a copy in which a few parts are replaced or removed
// while every other entry is copied exactly as stored. The records are read
// and written here (ZipFormat.h): libzip maps libcrypto at every start, and
// Debian's minizip misreads Zip64 sizes and offsets on 64-bit machines.
// libdeflate inflates the parts.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/PartDeflater.h"

namespace vk::xlsx {

// One entry as the central directory describes it.
struct ZipEntry {
  std::string name;
  std::uint16_t method = 0;
  std::uint16_t flags = 0;
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint32_t crc = 0;
  std::uint32_t dosTime = 0;
  std::uint32_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint64_t storedSize = 0;  // compressed
  std::uint64_t size = 0;
  std::uint64_t dataOffset = 0;  // of the stored bytes in the archive
  std::string localExtra, centralExtra, comment;
};

class ZipReader {
 public:
  // `bytes` must outlive the reader; `label` names the file in faults.
  ZipReader(std::string_view bytes, std::string label, const Limits& limits);

  // The entry of a part name (part names ignore case), if there is one.
  std::optional<std::uint64_t> find(std::string_view partName) const;
  // The inflated content of a part; a fault when it is missing, damaged,
  // encrypted or larger than the limits allow.
  std::string read(std::string_view partName);
  std::string read(std::uint64_t entry);

  const std::vector<ZipEntry>& entries() const { return entries_; }
  // The entry's bytes as stored.
  std::string_view stored(const ZipEntry& entry) const { return bytes_.substr(entry.dataOffset, entry.storedSize); }
  const std::string& comment() const { return comment_; }

 private:
  std::string_view bytes_;
  std::string label_;
  Limits limits_;
  std::vector<ZipEntry> entries_;
  std::unordered_map<std::string, std::uint64_t> byName_;  // lower-case name -> entry
  std::string comment_;
  std::uint64_t totalRead_ = 0;
};

// The text of a part that replaces an entry, written into the deflater.
using PartText = std::function<void(PartDeflater&)>;

struct ZipChanges {
  std::map<std::uint64_t, PartText> replaced;  // entry -> new content
  std::set<std::uint64_t> removed;
};

// Where the new archive goes: bytes at an offset (the writer comes back to
// complete each entry's header once its part is compressed).
using WriteAt = std::function<void(std::uint64_t offset, std::string_view bytes)>;

// Writes the archive with the changes applied. Entries keep their order;
// untouched entries keep their stored bytes, checksum, time and attributes;
// the sizes of every entry are in its header (a part's header is completed
// once it is compressed), so no Zip64 record or data descriptor is written.
void writeZip(const ZipReader& original, const ZipChanges& changes, const WriteAt& out, const std::string& label);

}  // namespace vk::xlsx

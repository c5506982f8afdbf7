#pragma once
// The zip archive of a workbook, held in memory: reading its parts within the
// limits, and writing a copy in which a few parts are replaced or removed
// while every other entry is copied exactly as stored.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/PartDeflater.h"

typedef struct zip zip_t;

namespace vk::xlsx {

// Closes an archive without writing anything.
struct DiscardArchive {
  void operator()(zip_t* archive) const;
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

 private:
  std::unique_ptr<zip_t, DiscardArchive> zip_;
  std::string label_;
  Limits limits_;
  std::unordered_map<std::string, std::uint64_t> entries_;  // lower-case name -> entry
  std::uint64_t totalRead_ = 0;
};

struct ZipChanges {
  std::map<std::uint64_t, CompressedPart> replaced;  // entry -> new content
  std::set<std::uint64_t> removed;
};

// The archive with the changes applied (the new parts are consumed).
// Entries keep their order; untouched entries keep their compressed bytes,
// and sizes are known to the writer so that no Zip64 records are forced on a
// small file.
std::string rewriteZip(std::string_view original, ZipChanges changes, const std::string& label);

}  // namespace vk::xlsx

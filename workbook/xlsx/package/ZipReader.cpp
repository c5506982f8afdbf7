#include <libdeflate.h>

#include <memory>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/xlsx/package/Zip.h"
#include "workbook/xlsx/package/ZipFormat.h"

namespace vk::xlsx {

using namespace zipformat;

namespace {

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The end-of-directory record: the last one in the file whose comment, if
// any, reaches no further than the file's end.
std::size_t findEndOfDirectory(std::string_view bytes) {
  if (bytes.size() < kEndSize) return std::string_view::npos;
  const std::size_t lowest = bytes.size() > kEndSize + 0xFFFF ? bytes.size() - kEndSize - 0xFFFF : 0;
  for (std::size_t at = bytes.size() - kEndSize;; --at) {
    if (u32(bytes, at) == kEndOfDirectory && at + kEndSize + u16(bytes, at + 20) <= bytes.size()) return at;
    if (at == lowest) return std::string_view::npos;
  }
}

}  // namespace

ZipReader::ZipReader(std::string_view bytes, std::string label, const Limits& limits)
    : bytes_(bytes), label_(std::move(label)), limits_(limits) {
  if (bytes.size() > limits_.maxFileSize)
    throw Fault(FaultKind::Workbook, label_ + " is too large to be a workbook this program can open (" +
                                         std::to_string(bytes.size() >> 20) + " MB)");
  if (bytes.empty()) throw Fault(FaultKind::Workbook, label_ + " is an empty file, not a workbook");
  auto damaged = [&](const std::string& where) {
    return Fault(FaultKind::Workbook,
                 label_ + " is not a readable workbook: its zip archive is damaged (" + where + ")");
  };
  const std::size_t end = findEndOfDirectory(bytes);
  if (end == std::string_view::npos)
    throw Fault(FaultKind::Workbook, label_ +
                                         " is not an .xlsx or .xlsm workbook: it is not a zip archive (an old .xls "
                                         "file or a password-protected workbook cannot be opened)");
  comment_ = std::string(bytes.substr(end + kEndSize, u16(bytes, end + 20)));
  std::uint64_t count = u16(bytes, end + 10), directorySize = u32(bytes, end + 12), directory = u32(bytes, end + 16);
  if (count == 0xFFFF || directorySize == kInZip64 || directory == kInZip64) {
    // The Zip64 end record, found through the locator just before the end record.
    if (end < kZip64LocatorSize || u32(bytes, end - kZip64LocatorSize) != kZip64Locator)
      throw damaged("the end of its directory");
    const std::uint64_t record = u64(bytes, end - kZip64LocatorSize + 8);
    if (record > end - kZip64LocatorSize || end - kZip64LocatorSize - record < kZip64EndSize ||
        u32(bytes, std::size_t(record)) != kZip64EndOfDirectory)
      throw damaged("the end of its directory");
    count = u64(bytes, std::size_t(record) + 32);
    directorySize = u64(bytes, std::size_t(record) + 40);
    directory = u64(bytes, std::size_t(record) + 48);
  }
  if (count > limits_.maxEntries)
    throw Fault(FaultKind::Workbook, label_ + " has too many zip entries (" + std::to_string(count) +
                                         ") to be a workbook this program can open");
  if (directory > bytes.size() || directorySize > bytes.size() - directory) throw damaged("its directory");
  const std::string_view records = bytes.substr(std::size_t(directory), std::size_t(directorySize));
  entries_.reserve(std::size_t(count));
  std::size_t at = 0;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (records.size() - at < kCentralHeaderSize || u32(records, at) != kCentralHeader) throw damaged("its directory");
    ZipEntry e;
    e.versionMadeBy = u16(records, at + 4);
    e.versionNeeded = u16(records, at + 6);
    e.flags = u16(records, at + 8);
    e.method = u16(records, at + 10);
    e.dosTime = u32(records, at + 12);
    e.crc = u32(records, at + 16);
    e.storedSize = u32(records, at + 20);
    e.size = u32(records, at + 24);
    const std::size_t nameSize = u16(records, at + 28), extraSize = u16(records, at + 30),
                      commentSize = u16(records, at + 32);
    e.internalAttributes = u16(records, at + 36);
    e.externalAttributes = u32(records, at + 38);
    std::uint64_t local = u32(records, at + 42);
    if (records.size() - at - kCentralHeaderSize < nameSize + extraSize + commentSize) throw damaged("its directory");
    at += kCentralHeaderSize;
    e.name = std::string(records.substr(at, nameSize));
    e.centralExtra = std::string(records.substr(at + nameSize, extraSize));
    e.comment = std::string(records.substr(at + nameSize + extraSize, commentSize));
    at += nameSize + extraSize + commentSize;
    const std::string entry = "the entry " + e.name;
    if (e.size == kInZip64 || e.storedSize == kInZip64 || local == kInZip64) {
      // The Zip64 record holds the fields that did not fit, in this order.
      std::string_view extra = e.centralExtra;
      while (extra.size() >= 4 && u16(extra, 0) != kZip64Extra)
        extra.remove_prefix(std::min<std::size_t>(extra.size(), 4 + u16(extra, 2)));
      if (extra.size() < 4 || u16(extra, 2) > extra.size() - 4) throw damaged(entry);
      std::string_view values = extra.substr(4, u16(extra, 2));
      for (std::uint64_t* field : {&e.size, &e.storedSize, &local}) {
        if (*field != kInZip64) continue;
        if (values.size() < 8) throw damaged(entry);
        *field = u64(values, 0);
        values.remove_prefix(8);
      }
    }
    // The stored bytes follow the entry's local header, which says how long it is.
    if (local > bytes.size() || bytes.size() - local < kLocalHeaderSize ||
        u32(bytes, std::size_t(local)) != kLocalHeader || u16(bytes, std::size_t(local) + 8) != e.method)
      throw damaged(entry);
    const std::size_t localName = u16(bytes, std::size_t(local) + 26), localExtra = u16(bytes, std::size_t(local) + 28);
    e.dataOffset = local + kLocalHeaderSize + localName + localExtra;
    if (e.dataOffset > bytes.size() || e.storedSize > bytes.size() - e.dataOffset) throw damaged(entry);
    e.localExtra = std::string(bytes.substr(std::size_t(local) + kLocalHeaderSize + localName, localExtra));
    // Part names are compared regardless of case; two entries of one name
    // would let two programs read different parts as the same one.
    if (!byName_.emplace(asciiLowerCase(e.name), entries_.size()).second)
      throw Fault(FaultKind::Workbook, label_ + " is damaged: its zip archive holds two entries named " + e.name);
    entries_.push_back(std::move(e));
  }
}

std::optional<std::uint64_t> ZipReader::find(std::string_view partName) const {
  auto it = byName_.find(asciiLowerCase(partName));
  if (it == byName_.end()) return std::nullopt;
  return it->second;
}

std::string ZipReader::read(std::string_view partName) {
  auto entry = find(partName);
  if (!entry)
    throw Fault(FaultKind::Workbook, label_ + " is damaged: the part " + std::string(partName) + " is missing");
  return read(*entry);
}

std::string ZipReader::read(std::uint64_t index) {
  const ZipEntry& e = entries_.at(std::size_t(index));
  auto fault = [&](const std::string& what) {
    return Fault(FaultKind::Workbook, "the part " + e.name + " of " + label_ + " " + what);
  };
  if (e.size > limits_.maxPartSize)
    throw fault("is too large to read (over " + std::to_string(limits_.maxPartSize >> 20) + " MB inflated)");
  if (totalRead_ + e.size > limits_.maxTotalSize)
    throw Fault(FaultKind::Workbook, label_ + " holds more data than this program can read (over " +
                                         std::to_string(limits_.maxTotalSize >> 20) + " MB inflated)");
  if (e.flags & kEncrypted) throw fault("is encrypted");
  const std::string_view stored = this->stored(e);
  std::string content;
  if (e.method == kStored) {
    if (stored.size() != e.size) throw fault("is damaged");
    content.assign(stored);
  } else if (e.method == kDeflated) {
    // The directory's size is the room there is: a part that inflates to
    // more, or to less, is damaged.
    content.resize(std::size_t(e.size));
    static thread_local std::unique_ptr<libdeflate_decompressor, FreeDecompressor> inflater(
        libdeflate_alloc_decompressor());
    if (!inflater) throw fault("cannot be read: out of memory");
    if (libdeflate_deflate_decompress(inflater.get(), stored.data(), stored.size(), content.data(), content.size(),
                                      nullptr) != LIBDEFLATE_SUCCESS)
      throw fault("is damaged");
  } else {
    throw fault("is compressed in a way this program cannot read");
  }
  if (libdeflate_crc32(0, content.data(), content.size()) != e.crc) throw fault("is damaged (its checksum differs)");
  totalRead_ += e.size;
  return content;
}

}  // namespace vk::xlsx

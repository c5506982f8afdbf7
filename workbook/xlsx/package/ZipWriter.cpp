#include <ctime>

#include "module1/Fault.h"
#include "workbook/file/Replacement.h"
#include "workbook/xlsx/package/Zip.h"
#include "workbook/xlsx/package/ZipFormat.h"

namespace vk::xlsx {

using namespace zipformat;

namespace zipformat {

std::string withoutZip64(std::string_view extra) {
  std::string kept;
  while (extra.size() >= 4) {
    const std::size_t size = std::min<std::size_t>(4 + u16(extra, 2), extra.size());
    if (u16(extra, 0) != kZip64Extra) kept += extra.substr(0, size);
    extra.remove_prefix(size);
  }
  return kept;
}

}  // namespace zipformat

namespace {

// Now, as a zip header's DOS date (high half) and time.
std::uint32_t dosTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  if (local.tm_year < 80) return 0x00210000;  // 1980-01-01, the earliest there is
  return std::uint32_t(local.tm_year - 80) << 25 | std::uint32_t(local.tm_mon + 1) << 21 |
         std::uint32_t(local.tm_mday) << 16 | std::uint32_t(local.tm_hour) << 11 | std::uint32_t(local.tm_min) << 5 |
         std::uint32_t(local.tm_sec / 2);
}

// The new archive, gathered and handed on in large pieces; a header
// completed later is changed among the gathered bytes or rewritten in place.
class Archive {
 public:
  Archive(const WriteAt& out, const std::string& label) : out_(out), label_(label) {
    gathered_.reserve(kGather);  // room that is never moved; pages not written cost nothing
  }

  std::uint64_t position() const { return handedOn_ + gathered_.size(); }
  std::string& gathered() { return gathered_; }
  void append(std::string_view bytes) {
    if (gathered_.size() + bytes.size() > kGather && !gathered_.empty()) handOn();
    if (bytes.size() > kGather)
      out_(position(), bytes), handedOn_ += bytes.size();
    else
      gathered_ += bytes;
  }
  void rewrite(std::uint64_t offset, std::string_view bytes) {
    if (offset >= handedOn_) {
      gathered_.replace(std::size_t(offset - handedOn_), bytes.size(), bytes);
      return;
    }
    const std::size_t before = std::size_t(std::min<std::uint64_t>(bytes.size(), handedOn_ - offset));
    out_(offset, bytes.substr(0, before));
    if (before < bytes.size()) gathered_.replace(0, bytes.size() - before, bytes.substr(before));
  }
  void handOn() {
    out_(handedOn_, gathered_);
    handedOn_ += gathered_.size();
    gathered_.clear();
  }
  // A size or offset that needs Zip64, which these archives never do.
  std::uint32_t fits(std::uint64_t value) const {
    if (value >= kInZip64)
      throw Fault(FaultKind::Workbook, "cannot write " + label_ + ": it would be larger than 4 GB");
    return std::uint32_t(value);
  }

 private:
  static constexpr std::size_t kGather = std::size_t(1) << 20;
  const WriteAt& out_;
  const std::string& label_;
  std::string gathered_;
  std::uint64_t handedOn_ = 0;
};

// What the central directory says of an entry written.
struct Written {
  const ZipEntry* entry;
  std::uint16_t versionNeeded, flags, method;
  std::uint32_t dosTime, crc, offset;
  std::uint64_t storedSize, size;
  std::string localExtra, centralExtra;
};

}  // namespace

void writeZip(const ZipReader& original, const ZipChanges& changes, const WriteAt& out, const std::string& label) {
  Archive archive(out, label);
  PartCompression buffers;
  const std::uint32_t now = dosTimeNow();
  const std::vector<ZipEntry>& entries = original.entries();
  std::vector<Written> written;
  written.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == entries.size() / 2) reachSaveStage(SaveStage::HalfWritten);
    if (changes.removed.count(i)) continue;
    const ZipEntry& e = entries[i];
    const auto replaced = changes.replaced.find(i);
    const bool isNew = replaced != changes.replaced.end();
    // Sizes and checksum go into the header: no data descriptor follows, and
    // an entry that had Zip64 fields needs them no more.
    Written w{&e,
              isNew || e.versionNeeded == kNeedsZip64 ? kNeedsDeflate : e.versionNeeded,
              std::uint16_t(e.flags & ~kDataDescriptor),
              isNew ? kDeflated : e.method,
              isNew ? now : e.dosTime,
              e.crc,
              archive.fits(archive.position()),
              e.storedSize,
              e.size,
              withoutZip64(e.localExtra),
              withoutZip64(e.centralExtra)};
    std::string& header = archive.gathered();
    const std::uint64_t headerAt = archive.position();
    put32(header, kLocalHeader);
    put16(header, w.versionNeeded);
    put16(header, w.flags);
    put16(header, w.method);
    put32(header, w.dosTime);
    put32(header, w.crc);
    put32(header, archive.fits(w.storedSize));
    put32(header, archive.fits(w.size));
    put16(header, std::uint32_t(e.name.size()));
    put16(header, std::uint32_t(w.localExtra.size()));
    header += e.name;
    header += w.localExtra;
    if (isNew) {
      const std::uint64_t start = archive.position();
      PartDeflater deflater(buffers, [&](std::string_view bytes) { archive.append(bytes); });
      replaced->second(deflater);
      const PartSummary summary = deflater.finish();
      w.crc = summary.crc;
      w.size = summary.size;
      w.storedSize = archive.position() - start;
      std::string sizes;
      put32(sizes, w.crc);
      put32(sizes, archive.fits(w.storedSize));
      put32(sizes, archive.fits(w.size));
      archive.rewrite(headerAt + 14, sizes);
    } else {
      archive.append(original.stored(e));
    }
    written.push_back(std::move(w));
  }

  const std::uint64_t directory = archive.position();
  for (const Written& w : written) {
    const ZipEntry& e = *w.entry;
    std::string& record = archive.gathered();
    put32(record, kCentralHeader);
    put16(record, e.versionMadeBy);
    put16(record, w.versionNeeded);
    put16(record, w.flags);
    put16(record, w.method);
    put32(record, w.dosTime);
    put32(record, w.crc);
    put32(record, std::uint32_t(w.storedSize));
    put32(record, std::uint32_t(w.size));
    put16(record, std::uint32_t(e.name.size()));
    put16(record, std::uint32_t(w.centralExtra.size()));
    put16(record, std::uint32_t(e.comment.size()));
    put16(record, 0);  // the disk it starts on
    put16(record, e.internalAttributes);
    put32(record, e.externalAttributes);
    put32(record, w.offset);
    record += e.name;
    record += w.centralExtra;
    record += e.comment;
  }
  const std::uint64_t directorySize = archive.position() - directory;
  std::string& end = archive.gathered();
  put32(end, kEndOfDirectory);
  put16(end, 0);  // this disk
  put16(end, 0);  // the disk the directory starts on
  put16(end, std::uint32_t(written.size()));
  put16(end, std::uint32_t(written.size()));
  put32(end, archive.fits(directorySize));
  put32(end, archive.fits(directory));
  put16(end, std::uint32_t(original.comment().size()));
  end += original.comment();
  archive.handOn();
}

}  // namespace vk::xlsx

#include "workbook/xlsx/package/Zip.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "module1/Fault.h"
#include "workbook/Ascii.h"

namespace vk::xlsx {

namespace {

[[noreturn]] void zipFault(const std::string& what, zip_error_t* error) {
  std::string why = zip_error_strerror(error);
  zip_error_fini(error);
  throw Fault(FaultKind::Workbook, what + ": " + why);
}

// Owners of what is made for libzip until libzip takes it over; every path
// that leaves early (a fault) frees it.
struct FreeSource {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourceOwner = std::unique_ptr<zip_source_t, FreeSource>;
struct FreeBuffer {
  void operator()(void* buffer) const { std::free(buffer); }
};

// A part compressed beforehand: the source hands libzip the deflated bytes
// with their method, sizes and checksum, so that it stores them as they are
// (asked to compress, libzip 1.7 takes its slowest level for a replaced entry).
struct DeflatedPart {
  explicit DeflatedPart(CompressedPart compressed) : part(std::move(compressed)) { zip_error_init(&error); }
  ~DeflatedPart() { zip_error_fini(&error); }
  DeflatedPart(const DeflatedPart&) = delete;
  DeflatedPart& operator=(const DeflatedPart&) = delete;

  CompressedPart part;
  std::time_t mtime = std::time(nullptr);
  std::size_t position = 0;
  zip_error_t error;
};

zip_int64_t deflatedSource(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* part = static_cast<DeflatedPart*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN: part->position = 0; return 0;
    case ZIP_SOURCE_READ: {
      const std::string& bytes = part->part.bytes;
      std::size_t n = std::min<std::size_t>(std::size_t(length), bytes.size() - part->position);
      std::memcpy(data, bytes.data() + part->position, n);
      part->position += n;
      return zip_int64_t(n);
    }
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_STAT: {
      auto* st = static_cast<zip_stat_t*>(data);
      zip_stat_init(st);
      st->valid = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_CRC | ZIP_STAT_MTIME;
      st->size = part->part.size;
      st->comp_size = part->part.bytes.size();
      st->comp_method = ZIP_CM_DEFLATE;
      st->crc = part->part.crc;
      st->mtime = part->mtime;
      return sizeof(*st);
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&part->error, data, length);
    case ZIP_SOURCE_FREE: delete part; return 0;
    case ZIP_SOURCE_SUPPORTS: return ZIP_SOURCE_SUPPORTS_READABLE;
    default: zip_error_set(&part->error, ZIP_ER_OPNOTSUPP, 0); return -1;
  }
}

}  // namespace

void DiscardArchive::operator()(zip_t* archive) const { zip_discard(archive); }

ZipReader::ZipReader(std::string_view bytes, std::string label, const Limits& limits)
    : label_(std::move(label)), limits_(limits) {
  if (bytes.size() > limits_.maxFileSize)
    throw Fault(FaultKind::Workbook, label_ + " is too large to be a workbook this program can open (" +
                                         std::to_string(bytes.size() >> 20) + " MB)");
  if (bytes.empty()) throw Fault(FaultKind::Workbook, label_ + " is an empty file, not a workbook");
  zip_error_t error;
  zip_error_init(&error);
  SourceOwner source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error));
  if (!source) zipFault("cannot read " + label_, &error);
  zip_.reset(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
  if (!zip_) {
    int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (code == ZIP_ER_NOZIP)
      throw Fault(FaultKind::Workbook, label_ +
                                           " is not an .xlsx or .xlsm workbook: it is not a zip archive (an old .xls "
                                           "file or a password-protected workbook cannot be opened)");
    zip_error_init_with_code(&error, code);
    zipFault(label_ + " is not a readable workbook: its zip archive is damaged", &error);
  }
  source.release();  // the archive frees it
  zip_error_fini(&error);
  zip_int64_t count = zip_get_num_entries(zip_.get(), 0);
  if (count < 0 || std::uint64_t(count) > limits_.maxEntries)
    throw Fault(FaultKind::Workbook, label_ + " has too many zip entries (" + std::to_string(count) +
                                         ") to be a workbook this program can open");
  for (zip_uint64_t i = 0; i < zip_uint64_t(count); ++i) {
    const char* name = zip_get_name(zip_.get(), i, 0);
    // Part names are compared regardless of case; two entries of one name
    // would let two programs read different parts as the same one.
    if (name && !entries_.emplace(asciiLowerCase(name), i).second)
      throw Fault(FaultKind::Workbook, label_ + " is damaged: its zip archive holds two entries named " + name);
  }
}

std::optional<std::uint64_t> ZipReader::find(std::string_view partName) const {
  auto it = entries_.find(asciiLowerCase(partName));
  if (it == entries_.end()) return std::nullopt;
  return it->second;
}

std::string ZipReader::read(std::string_view partName) {
  auto entry = find(partName);
  if (!entry)
    throw Fault(FaultKind::Workbook, label_ + " is damaged: the part " + std::string(partName) + " is missing");
  return read(*entry);
}

std::string ZipReader::read(std::uint64_t entry) {
  const char* rawName = zip_get_name(zip_.get(), entry, 0);
  std::string name = rawName ? rawName : "?";
  auto tooLarge = [&] {
    return Fault(FaultKind::Workbook, "the part " + name + " of " + label_ + " is too large to read (over " +
                                          std::to_string(limits_.maxPartSize >> 20) + " MB inflated)");
  };
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip_.get(), entry, 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
    if (st.size > limits_.maxPartSize) throw tooLarge();
  }
  zip_file_t* file = zip_fopen_index(zip_.get(), entry, 0);
  if (!file) zipFault("cannot read the part " + name + " of " + label_, zip_get_error(zip_.get()));
  std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(file, zip_fclose);
  std::string content;
  if (st.valid & ZIP_STAT_SIZE) content.reserve(std::size_t(st.size));
  char buffer[1 << 16];
  for (;;) {
    zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      zip_error_t error;
      zip_error_init(&error);
      zip_error_set(&error, zip_error_code_zip(zip_file_get_error(file)),
                    zip_error_code_system(zip_file_get_error(file)));
      zipFault("the part " + name + " of " + label_ + " is damaged", &error);
    }
    if (n == 0) break;
    if (content.size() + std::size_t(n) > limits_.maxPartSize) throw tooLarge();
    totalRead_ += std::uint64_t(n);
    if (totalRead_ > limits_.maxTotalSize)
      throw Fault(FaultKind::Workbook, label_ + " holds more data than this program can read (over " +
                                           std::to_string(limits_.maxTotalSize >> 20) + " MB inflated)");
    content.append(buffer, std::size_t(n));
  }
  return content;
}

std::string rewriteZip(std::string_view original, ZipChanges changes, const std::string& label) {
  const std::string what = "cannot write " + label;
  zip_error_t error;
  zip_error_init(&error);
  // libzip may write into the buffer it reads from; give it a copy it owns.
  std::unique_ptr<void, FreeBuffer> copy(std::malloc(std::max<std::size_t>(original.size(), 1)));
  if (!copy) throw Fault(FaultKind::Workbook, what + ": out of memory");
  std::memcpy(copy.get(), original.data(), original.size());
  SourceOwner source(zip_source_buffer_create(copy.get(), original.size(), 1, &error));
  if (!source) zipFault(what, &error);
  copy.release();  // the source frees it
  std::unique_ptr<zip_t, DiscardArchive> zip(zip_open_from_source(source.get(), 0, &error));
  if (!zip) zipFault(what, &error);
  // The archive took the source over; one more reference keeps it, to read
  // the result from after the archive is closed.
  zip_source_keep(source.get());
  auto fail = [&](const std::string& step) {
    zip_error_t copyError;
    zip_error_init(&copyError);
    zip_error_set(&copyError, zip_error_code_zip(zip_get_error(zip.get())),
                  zip_error_code_system(zip_get_error(zip.get())));
    zipFault(what + " (" + step + ")", &copyError);
  };
  for (auto& [entry, content] : changes.replaced) {
    auto deflated = std::make_unique<DeflatedPart>(std::move(content));
    SourceOwner part(zip_source_function(zip.get(), deflatedSource, deflated.get()));
    if (!part) fail("a new part");
    deflated.release();  // the source deletes it when it is freed
    if (zip_file_replace(zip.get(), entry, part.get(), 0) < 0) fail("replacing a part");
    part.release();  // the archive frees it
    // A part stored uncompressed before is deflated now.
    if (zip_set_file_compression(zip.get(), entry, ZIP_CM_DEFLATE, 0) < 0) fail("compressing a part");
  }
  for (std::uint64_t entry : changes.removed)
    if (zip_delete(zip.get(), entry) < 0) fail("removing a part");
  if (zip_close(zip.get()) < 0) fail("closing the archive");
  zip.release();  // written and freed by zip_close

  if (zip_source_open(source.get()) < 0) zipFault(what, zip_source_error(source.get()));
  std::string result;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_source_stat(source.get(), &st) == 0 && (st.valid & ZIP_STAT_SIZE)) result.reserve(std::size_t(st.size));
  char buffer[1 << 16];
  zip_int64_t n;
  while ((n = zip_source_read(source.get(), buffer, sizeof buffer)) > 0) result.append(buffer, std::size_t(n));
  zip_source_close(source.get());
  if (n < 0) zipFault(what, zip_source_error(source.get()));
  return result;
}

}  // namespace vk::xlsx

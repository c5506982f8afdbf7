// The zip archive the engine reads and writes itself: a part too large to
// be compressed whole is streamed and its header completed afterwards; what
// the engine does not change keeps its bytes and its records' details; a
// damaged archive is a fault, never a crash. Read back by libzip, which
// shares no code with the engine.

#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>
#include <string>

#include "module1/Fault.h"
#include "tests/support/FaultOf.h"
#include "tests/workbook/xlsx/XlsxFiles.h"
#include "workbook/xlsx/package/Zip.h"
#include "workbook/xlsx/package/ZipFormat.h"

namespace vk::xlsx {
namespace {

using namespace xlsxtest;
using vk::test::faultOf;

std::string rewritten(const ZipReader& reader, const ZipChanges& changes) {
  std::string bytes;
  writeZip(
      reader, changes,
      [&](std::uint64_t offset, std::string_view part) {
        if (bytes.size() < offset + part.size()) bytes.resize(std::size_t(offset + part.size()));
        bytes.replace(std::size_t(offset), part.size(), part);
      },
      "test.xlsx");
  return bytes;
}

// Whether libzip finds the local headers in agreement with the directory.
bool consistent(const std::string& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (!zip) zip_source_free(source);
  zip_discard(zip);
  return zip != nullptr;
}

// An archive with a comment and an entry that carries an extra field.
std::string archiveWithDetails() {
  const std::string text = "<a>kept</a>", other = "<b/>";  // read by libzip when it closes the archive
  return zipMadeBy([&](zip_t* zip) {
    zip_int64_t kept = zip_file_add(zip, "kept.xml", zip_source_buffer(zip, text.data(), text.size(), 0), 0);
    zip_file_add(zip, "other.xml", zip_source_buffer(zip, other.data(), other.size(), 0), 0);
    const zip_uint8_t stamp[] = {1, 2, 3, 4, 5};
    zip_file_extra_field_set(zip, zip_uint64_t(kept), 0xCAFE, 0, stamp, sizeof stamp, ZIP_FL_CENTRAL | ZIP_FL_LOCAL);
    zip_set_archive_comment(zip, "made for a test", 15);
  });
}

TEST(ZipArchive, APartTooLargeToCompressWholeIsStreamedAndReadsBack) {
  const std::string original = zipBytes({{"first.xml", "<a/>"}, {"large.xml", "<b/>"}, {"picture.png", "PNG bytes"}});
  ZipReader reader(original, "test.xlsx", {});
  std::string text;
  ZipChanges changes;
  changes.replaced[*reader.find("large.xml")] = [&](PartDeflater& to) {
    for (int row = 0; to.text().size() + text.size() < 3 * PartDeflater::kWholeLimit / 2; ++row) {
      const std::string line =
          "<row r=\"" + std::to_string(row) + "\"><c><v>" + std::to_string(row * 7) + "</v></c></row>";
      text += line;
      to.text() += line;
      to.passOn();
    }
  };
  const std::string saved = rewritten(reader, changes);
  EXPECT_TRUE(consistent(saved));
  EXPECT_FALSE(hasZip64Records(saved));
  const auto before = readZip(original), after = readZip(saved);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_TRUE(findEntry(after, "large.xml")->data == text);
  for (const char* name : {"first.xml", "picture.png"}) {
    const Entry *was = findEntry(before, name), *now = findEntry(after, name);
    EXPECT_TRUE(now->raw == was->raw && now->method == was->method && now->crc == was->crc) << name;
  }
  ZipReader again(saved, "test.xlsx", {});
  EXPECT_TRUE(again.read("large.xml") == text);
  EXPECT_EQ(again.read("picture.png"), "PNG bytes");
}

TEST(ZipArchive, WhatIsNotChangedKeepsItsDetails) {
  const std::string original = archiveWithDetails();
  ZipReader reader(original, "test.xlsx", {});
  ZipChanges changes;
  changes.replaced[*reader.find("other.xml")] = [](PartDeflater& to) { to.append("<b>new</b>"); };
  const std::string saved = rewritten(reader, changes);

  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(saved.data(), saved.size(), 0, &error);
  zip_t* zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  ASSERT_TRUE(zip) << zip_error_strerror(&error);
  int length = 0;
  const char* comment = zip_get_archive_comment(zip, &length, 0);
  EXPECT_EQ(std::string(comment, std::size_t(length)), "made for a test");
  for (zip_flags_t where : {zip_flags_t(ZIP_FL_CENTRAL), zip_flags_t(ZIP_FL_LOCAL)}) {
    zip_uint16_t size = 0;
    const zip_uint8_t* field = zip_file_extra_field_get_by_id(zip, 0, 0xCAFE, 0, &size, where);
    ASSERT_TRUE(field) << where;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(field), size), std::string("\1\2\3\4\5"));
  }
  zip_discard(zip);
  EXPECT_EQ(ZipReader(saved, "test.xlsx", {}).read("other.xml"), "<b>new</b>");
}

TEST(ZipArchive, ADamagedArchiveIsAFault) {
  const std::string good = zipBytes({{"a.xml", std::string(5000, 'a')}, {"b.xml", "<b/>"}});
  const std::size_t end = good.rfind(std::string("PK\x05\x06", 4));
  const std::size_t directory = good.rfind(std::string("PK\x01\x02", 4));
  ASSERT_NE(end, std::string::npos);
  struct Damage {
    const char* what;
    std::string bytes;
    const char* fault;
  };
  std::string badOffset = good, badData = good, badDirectory = good, shortDirectory = good;
  badOffset[directory + 42] = '\x7F';  // the last entry's local header far away
  badData[40] ^= 0x55;                 // inside a's deflated bytes
  badDirectory[directory] = 'Q';
  shortDirectory[end + 12] = '\x7F';  // the directory's size past the file
  for (const Damage& d : {Damage{"cut short", good.substr(0, end - 10), "not a zip archive"},
                          Damage{"local header", badOffset, "damaged (the entry b.xml)"},
                          Damage{"directory", badDirectory, "damaged (its directory)"},
                          Damage{"directory size", shortDirectory, "damaged (its directory)"},
                          Damage{"data", badData, "a.xml of test.xlsx is damaged"}}) {
    SCOPED_TRACE(d.what);
    const std::string text = faultOf([&] { ZipReader(d.bytes, "test.xlsx", {}).read("a.xml"); });
    EXPECT_NE(text.find(d.fault), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace vk::xlsx

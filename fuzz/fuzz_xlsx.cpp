// libFuzzer target: a workbook file from arbitrary bytes is opened, read,
// edited and written again. Malformed input must end in a vk::Fault; any
// other exception, a crash, a hang or runaway memory is a finding.
//
// An input starting with "XML\n" is not a file but the XML of parts, split by
// lines "----": worksheet 2, the shared strings, the workbook part. They are
// packed into a sound zip here, so that mutations reach the XML readers
// instead of failing the archive's checksums.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <zip.h>

#include <string_view>
#include <vector>

#include "module1/Fault.h"
#include "workbook/xlsx/XlsxDocument.h"

namespace {

// Tighter than the program's own limits, so that each input is quick.
vk::xlsx::Limits fuzzLimits() {
  vk::xlsx::Limits limits;
  limits.maxFileSize = std::uint64_t(1) << 20;
  limits.maxEntries = 500;
  limits.maxPartSize = std::uint64_t(8) << 20;
  limits.maxTotalSize = std::uint64_t(32) << 20;
  limits.maxTreeSize = std::uint64_t(2) << 20;
  return limits;
}

void readSome(vk::xlsx::XlsxDocument& doc) {
  for (int sheet = 1; sheet <= 3; ++sheet)
    for (int row = 1; row <= 12; ++row)
      for (int column = 1; column <= 8; ++column) {
        try {
          doc.readNumber(sheet, row, column);
        } catch (const vk::Fault&) {
        }
        try {
          doc.cellKind(sheet, row, column);  // the styles part's number formats
        } catch (const vk::Fault&) {
        }
      }
  doc.sheets();
  for (const char* name : {"VK_Test", "VK_InitialAnalysis", "VK_Results"}) doc.definedName(name);
}

std::string storedZip(const std::vector<std::pair<std::string, std::string>>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_source_keep(out);
  zip_t* zip = zip_open_from_source(out, ZIP_TRUNCATE, &error);
  for (const auto& [name, content] : parts) {
    zip_source_t* s = zip_source_buffer(zip, content.data(), content.size(), 0);
    zip_int64_t index = zip_file_add(zip, name.c_str(), s, 0);
    zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
  }
  zip_close(zip);
  std::string bytes;
  zip_source_open(out);
  char buffer[65536];
  zip_int64_t n;
  while ((n = zip_source_read(out, buffer, sizeof buffer)) > 0) bytes.append(buffer, std::size_t(n));
  zip_source_close(out);
  zip_source_free(out);
  return bytes;
}

std::string workbookFromParts(std::string_view text) {
  std::vector<std::string> pieces;
  for (;;) {
    std::size_t cut = text.find("\n----\n");
    pieces.emplace_back(text.substr(0, cut));
    if (cut == std::string_view::npos) break;
    text.remove_prefix(cut + 6);
  }
  const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const std::string empty = "<worksheet xmlns=\"" + main + "\"><sheetData/></worksheet>";
  std::string workbook = pieces.size() > 2
                             ? pieces[2]
                             : "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
                                   "\"><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/><sheet "
                                   "name=\"B\" sheetId=\"2\" r:id=\"rId2\"/><sheet name=\"C\" sheetId=\"3\" "
                                   "r:id=\"rId3\"/></sheets></workbook>";
  std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  for (int i = 1; i <= 3; ++i)
    rels += "<Relationship Id=\"rId" + std::to_string(i) + "\" Type=\"" + rel +
            "/worksheet\" Target=\"worksheets/sheet" + std::to_string(i) + ".xml\"/>";
  rels += "<Relationship Id=\"rId9\" Type=\"" + rel +
          "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
          "<Relationship Id=\"rId8\" Type=\"" +
          rel + "/calcChain\" Target=\"calcChain.xml\"/></Relationships>";
  return storedZip({
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"xml\" "
       "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
       "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/><Override "
       "PartName=\"/xl/calcChain.xml\" "
       "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/></Types>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
       "Id=\"rId1\" "
       "Type=\"" +
           rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", workbook},
      {"xl/_rels/workbook.xml.rels", rels},
      {"xl/worksheets/sheet1.xml", empty},
      {"xl/worksheets/sheet2.xml", pieces[0]},
      {"xl/worksheets/sheet3.xml", empty},
      {"xl/sharedStrings.xml", pieces.size() > 1 ? pieces[1] : "<sst xmlns=\"" + main + "\"/>"},
      {"xl/calcChain.xml", "<calcChain xmlns=\"" + main + "\"/>"},
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const vk::xlsx::Limits limits = fuzzLimits();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string file = input.substr(0, 4) == "XML\n" ? workbookFromParts(input.substr(4)) : std::string(input);
  std::string rendered;
  try {
    vk::xlsx::XlsxDocument doc(std::move(file), "fuzz.xlsx", limits);
    readSome(doc);
    doc.write(2, 5, 5, vk::Integer(17));
    doc.write(3, 2, 2, vk::Variant::single(0.1f));
    doc.write(3, 3, 3, vk::Variant());
    doc.clearContents(3, vk::CellRange{1, 1, 4, 4});
    doc.select(2, 1, 1);
    doc.show(2);
    doc.requestRecalculation();
    if (doc.changed()) rendered = doc.render();
  } catch (const vk::Fault&) {
    return 0;
  }
  if (rendered.empty()) return 0;
  // What the engine wrote from a file it accepted must open again and hold
  // what was written.
  try {
    vk::xlsx::XlsxDocument again(rendered, "fuzz-saved.xlsx", limits);
    if (again.readNumber(2, 5, 5) != 17) {
      std::fprintf(stderr, "the written value did not come back\n");
      std::abort();
    }
    readSome(again);
  } catch (const vk::Fault& fault) {
    std::fprintf(stderr, "the engine's own output does not open: %s\n", fault.what());
    std::abort();
  }
  return 0;
}

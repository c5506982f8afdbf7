#include "tests/workbook/xlsx/XlsxFiles.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vk::xlsxtest {

namespace {

const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

const char* kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"1\"><numFmt numFmtId=\"164\" formatCode=\"0.000\"/></numFmts>"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
    "patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

void check(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("test file: " + what);
}

}  // namespace

std::string sheetXml(const std::string& cells, const std::string& before, const std::string& after) {
  return std::string(kDecl) + "<worksheet xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\">" + before + "<sheetData>" +
         cells + "</sheetData>" + after + "</worksheet>";
}

Parts Book::build() const {
  std::string types =
      std::string(kDecl) +
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Default Extension=\"png\" ContentType=\"image/png\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
  std::string rels =
      std::string(kDecl) + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  std::string sheetList;
  for (std::size_t i = 1; i <= sheets.size(); ++i) {
    std::string n = std::to_string(i);
    types += "<Override PartName=\"/xl/worksheets/sheet" + n +
             ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    rels +=
        "<Relationship Id=\"rId" + n + "\" Type=\"" + kRel + "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    const bool hidden = std::find(hiddenSheets.begin(), hiddenSheets.end(), int(i)) != hiddenSheets.end();
    sheetList += "<sheet name=\"Sheet" + n + "\" sheetId=\"" + n + "\"" + (hidden ? " state=\"hidden\"" : "") +
                 " r:id=\"rId" + n + "\"/>";
  }
  rels += "<Relationship Id=\"rId100\" Type=\"" + std::string(kRel) + "/styles\" Target=\"styles.xml\"/>";
  if (!sharedStrings.empty()) {
    types +=
        "<Override PartName=\"/xl/sharedStrings.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>";
    rels +=
        "<Relationship Id=\"rId101\" Type=\"" + std::string(kRel) + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
  }
  if (!calcChain.empty()) {
    types +=
        "<Override PartName=\"/xl/calcChain.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>";
    rels += "<Relationship Id=\"rId102\" Type=\"" + std::string(kRel) + "/calcChain\" Target=\"calcChain.xml\"/>";
  }
  types += "</Types>";
  rels += "</Relationships>";
  std::string workbook = std::string(kDecl) + "<workbook xmlns=\"" + kMain + "\" xmlns:r=\"" + kRel + "\">" +
                         bookViews + "<sheets>" + sheetList + "</sheets>" + definedNames + "</workbook>";
  Parts parts = {
      {"[Content_Types].xml", types},
      {"_rels/.rels", std::string(kDecl) +
                          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"rId1\" Type=\"" +
                          kRel +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/>"
                          "</Relationships>"},
      {"xl/workbook.xml", workbook},
      {"xl/_rels/workbook.xml.rels", rels},
      {"xl/styles.xml", styles.empty() ? std::string(kDecl) + kStyles : styles},
  };
  for (std::size_t i = 0; i < sheets.size(); ++i)
    parts.emplace_back("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", sheets[i]);
  if (!sharedStrings.empty()) parts.emplace_back("xl/sharedStrings.xml", sharedStrings);
  if (!calcChain.empty()) parts.emplace_back("xl/calcChain.xml", calcChain);
  for (const auto& p : extraParts) parts.push_back(p);
  return parts;
}

namespace {

// Rows of cells, each cell given as its XML.
using Cells = std::map<int, std::map<int, std::string>>;

std::string ref(int row, int column) {
  std::string letters;
  for (int c = column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), char('A' + (c - 1) % 26));
  return letters + std::to_string(row);
}

std::string rows(const Cells& cells) {
  std::string xml;
  for (const auto& [row, columns] : cells) {
    xml += "<row r=\"" + std::to_string(row) + "\">";
    for (const auto& [column, cell] : columns) xml += cell;
    xml += "</row>";
  }
  return xml;
}

}  // namespace

TemplateBook templateLikeBook(int pointRows) {
  TemplateBook t;
  Cells sheets[4];
  auto number = [&](int sheet, int row, int column, double value, const char* style = nullptr) {
    std::string v = std::to_string(value);
    sheets[sheet][row][column] = "<c r=\"" + ref(row, column) + "\"" +
                                 (style ? std::string(" s=\"") + style + "\"" : "") + "><v>" + v + "</v></c>";
    t.numbers[{sheet, row, column}] = std::stod(v);
  };
  auto text = [&](int sheet, int row, int column, int stringIndex) {
    sheets[sheet][row][column] =
        "<c r=\"" + ref(row, column) + "\" t=\"s\"><v>" + std::to_string(stringIndex) + "</v></c>";
  };
  auto formula = [&](int sheet, int row, int column, const std::string& f, const std::string& cached) {
    sheets[sheet][row][column] = "<c r=\"" + ref(row, column) + "\"><f>" + f + "</f><v>" + cached + "</v></c>";
  };
  // Sheet 1: the test.
  text(1, 1, 1, 0);
  const double conditions[] = {6, 3, 20.5, 29.92, 1000, 50};
  for (int i = 0; i < 6; ++i) number(1, 7 + i, 3, conditions[i], "2");
  for (int p = 1; p <= 6; ++p) {
    number(1, 6 + p, 7, p - 1);
    for (int s = 1; s <= 3; ++s) number(1, 6 + p, 7 + s, 1.5 * p + s);
  }
  formula(1, 14, 3, "C11*2", "2000");
  // Sheet 2: the initial analysis and the start thresholds.
  text(2, 1, 1, 1);
  for (int row = 7; row <= 22; ++row)
    for (int column = 1; column <= 35; ++column)
      number(2, row, column, row * 0.5 + column, column % 6 == 1 ? "1" : nullptr);
  for (int set = 1; set <= 6; ++set) number(2, 45, 6 * (set - 1) + 1, 1);
  formula(2, 40, 2, "A7*2", "9");
  // Sheet 3: history, summary, results, kept counts and point tables.
  text(3, 1, 1, 2);
  for (int row = 11; row <= 21; ++row)
    for (int column = 10; column <= 49; ++column) number(3, row, column, row + column / 100.0);
  for (int row = 13; row <= 19; ++row)
    for (int column = 1; column <= 8; ++column) number(3, row, column, row * 10 + column);
  for (int row = 25; row <= 35; ++row)
    for (int set = 1; set <= 6; ++set) {
      number(3, row, 7 * (set - 1) + 11, row + set / 10.0, "1");
      number(3, row, 7 * (set - 1) + 12, row - set / 10.0);
    }
  for (int set = 1; set <= 6; ++set) number(3, 43, 7 * (set - 1) + 11, pointRows - 44);
  for (int row = 45; row <= pointRows; ++row)
    for (int column = 10; column <= 49; ++column)
      number(3, row, column, row * 0.01 + column, column == 10 ? "2" : nullptr);
  formula(3, 5, 3, "AVERAGE(J45:J" + std::to_string(pointRows) + ")", "11");
  formula(3, 6, 3, "Sheet2!A45+1", "2");
  formula(3, 7, 3, "1+2", "3");

  t.book.sheets = {
      sheetXml(rows(sheets[1]), "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"),
      sheetXml(rows(sheets[2])),
      sheetXml(rows(sheets[3]),
               "<cols><col min=\"10\" max=\"49\" width=\"10\" style=\"1\" customWidth=\"1\"/></cols>")};
  t.book.sharedStrings =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"3\" uniqueCount=\"3\">"
      "<si><t>Test conditions</t></si><si><t>Initial analysis</t></si><si><t>Results</t></si></sst>";
  t.book.calcChain =
      "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"C14\" i=\"1\"/>"
      "<c r=\"B40\" i=\"2\"/><c r=\"C5\" i=\"3\"/><c r=\"C6\"/><c r=\"C7\"/></calcChain>";
  t.book.bookViews = "<bookViews><workbookView activeTab=\"0\"/></bookViews>";
  std::string png = std::string("\x89PNG\r\n\x1a\n", 8);
  for (int i = 0; i < 4000; ++i) png += char((i * 7919) % 251);
  t.book.extraParts = {
      {"docProps/core.xml", "<cp:coreProperties xmlns:cp=\"c\"><cp:revision>3</cp:revision></cp:coreProperties>"},
      {"xl/theme/theme1.xml", "<a:theme xmlns:a=\"a\" name=\"Office\">" + std::string(2000, ' ') + "</a:theme>"},
      {"xl/media/image1.png", png}};
  return t;
}

std::string zipMadeBy(const std::function<void(zip_t*)>& fill) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
  check(out, "buffer");
  zip_source_keep(out);
  zip_t* zip = zip_open_from_source(out, ZIP_TRUNCATE, &error);
  check(zip, "open");
  fill(zip);
  check(zip_close(zip) == 0, "close");
  check(zip_source_open(out) == 0, "reopen");
  std::string bytes;
  char buffer[65536];
  zip_int64_t n;
  while ((n = zip_source_read(out, buffer, sizeof buffer)) > 0) bytes.append(buffer, std::size_t(n));
  zip_source_close(out);
  zip_source_free(out);
  return bytes;
}

std::string zipBytes(const Parts& parts) {
  return zipMadeBy([&](zip_t* zip) {
    for (const auto& [name, content] : parts) {
      zip_source_t* s = zip_source_buffer(zip, content.data(), content.size(), 0);
      zip_int64_t index = zip_file_add(zip, name.c_str(), s, ZIP_FL_ENC_UTF_8);
      check(index >= 0, "add " + name);
      bool stored =
          name.size() > 4 && (name.substr(name.size() - 4) == ".png" || name.substr(name.size() - 4) == ".bin");
      if (stored) zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
      zip_file_set_mtime(zip, zip_uint64_t(index), 1700000000, 0);
    }
  });
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  check(bool(f), "write " + path);
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  check(bool(f), "read " + path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<Entry> readZip(const std::string& bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  zip_t* zip = zip_open_from_source(src, ZIP_RDONLY, &error);
  check(zip, "not a zip");
  std::vector<Entry> entries;
  zip_int64_t count = zip_get_num_entries(zip, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    Entry e;
    zip_stat_t st;
    zip_stat_index(zip, zip_uint64_t(i), 0, &st);
    e.name = st.name;
    e.method = st.comp_method;
    e.crc = st.crc;
    e.mtime = st.mtime;
    for (zip_flags_t flags : {zip_flags_t(0), zip_flags_t(ZIP_FL_COMPRESSED)}) {
      zip_file_t* f = zip_fopen_index(zip, zip_uint64_t(i), flags);
      check(f, "entry " + e.name);
      std::string& into = flags ? e.raw : e.data;
      char buffer[65536];
      zip_int64_t n;
      while ((n = zip_fread(f, buffer, sizeof buffer)) > 0) into.append(buffer, std::size_t(n));
      check(n == 0, "reading " + e.name);
      zip_fclose(f);
    }
    entries.push_back(std::move(e));
  }
  zip_discard(zip);
  return entries;
}

const Entry* findEntry(const std::vector<Entry>& entries, const std::string& name) {
  for (const Entry& e : entries)
    if (e.name == name) return &e;
  return nullptr;
}

bool hasZip64Records(const std::string& bytes) {
  // The Zip64 end-of-central-directory record and its locator.
  if (bytes.find(std::string("PK\x06\x06", 4)) != std::string::npos) return true;
  if (bytes.find(std::string("PK\x06\x07", 4)) != std::string::npos) return true;
  // Zip64 extra fields (id 0x0001) in the central directory and local headers.
  auto u16 = [&](std::size_t p) {
    return unsigned(std::uint8_t(bytes[p])) | unsigned(std::uint8_t(bytes[p + 1])) << 8;
  };
  auto hasZip64Field = [&](std::size_t extra, std::size_t extraLength) {
    for (std::size_t p = extra; p + 4 <= extra + extraLength && p + 4 <= bytes.size(); p += 4 + u16(p + 2))
      if (u16(p) == 0x0001) return true;
    return false;
  };
  const std::string central("PK\x01\x02", 4), local("PK\x03\x04", 4);
  for (std::size_t at = bytes.find(central); at != std::string::npos && at + 46 <= bytes.size();
       at = bytes.find(central, at + 4))
    if (hasZip64Field(at + 46 + u16(at + 28), u16(at + 30))) return true;
  for (std::size_t at = bytes.find(local); at != std::string::npos && at + 30 <= bytes.size();
       at = bytes.find(local, at + 4))
    if (hasZip64Field(at + 30 + u16(at + 26), u16(at + 28))) return true;
  return false;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vk-xlsx-XXXXXX").string();
  check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace vk::xlsxtest

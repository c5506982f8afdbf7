// Reading cells: every kind of value a workbook file holds, the faults for
// what is not a number, and the files that are not workbooks at all.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "module1/Fault.h"
#include "tests/support/FaultOf.h"
#include "tests/workbook/xlsx/XlsxFiles.h"
#include "workbook/TemplateSheets.h"
#include "workbook/xlsx/XlsxDocument.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;
using test::faultOf;

const char* kValues =
    "<row r=\"7\">"
    "<c r=\"C7\"><v>40</v></c>"                                 // number
    "<c r=\"D7\" t=\"s\"><v>0</v></c>"                          // shared string " 12.5 "
    "<c r=\"E7\" t=\"s\"><v>1</v></c>"                          // rich text with a phonetic reading
    "<c r=\"F7\" t=\"inlineStr\"><is><t>-3e2</t></is></c>"      // inline string
    "<c r=\"G7\" t=\"b\"><v>1</v></c>"                          // boolean
    "<c r=\"H7\"><f>C7*2</f><v>80</v></c>"                      // formula, cached number
    "<c r=\"I7\" t=\"str\"><f>TEXT(C7,\"0\")</f><v>40</v></c>"  // formula, cached text
    "<c r=\"J7\" s=\"1\"/>"                                     // formatted, empty
    "<c r=\"K7\" t=\"d\"><v>2024-03-01T12:00:00</v></c>"        // ISO date
    "<c r=\"L7\"><v>1.5E-3</v></c>"
    "</row>"
    "<row r=\"9\">"
    "<c r=\"C9\" t=\"s\"><v>2</v></c>"        // the text "warm"
    "<c r=\"D9\" t=\"e\"><v>#DIV/0!</v></c>"  // an error
    "<c r=\"E9\"><f>C7/0</f></c>"             // formula never calculated
    "<c r=\"F9\" t=\"s\"><v>7</v></c>"        // no such shared string
    "<c r=\"G9\" t=\"inlineStr\"><is><r><t>1</t></r><r><t>0 kg</t></r></is></c>"
    "</row>";

const char* kStrings =
    "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"3\" uniqueCount=\"3\">"
    "<si><t xml:space=\"preserve\"> 12.5 </t></si>"
    "<si><r><rPr><b/></rPr><t>7</t></r><r><t>.25</t></r><rPh sb=\"0\" eb=\"1\"><t>x</t></rPh></si>"
    "<si><t>warm</t></si>"
    "</sst>";

XlsxDocument documentWith(const std::string& sheet1Cells, const std::string& strings = kStrings) {
  Book book;
  book.sheets[0] = sheetXml(sheet1Cells);
  book.sharedStrings = strings;
  return XlsxDocument(zipBytes(book.build()), "test.xlsx");
}

TEST(XlsxReading, EveryKindOfValueReadsAsANumber) {
  XlsxDocument doc = documentWith(kValues);
  EXPECT_EQ(doc.readNumber(1, 7, 3), 40);
  EXPECT_EQ(doc.readNumber(1, 7, 4), 12.5);
  EXPECT_EQ(doc.readNumber(1, 7, 5), 7.25);
  EXPECT_EQ(doc.readNumber(1, 7, 6), -300);
  EXPECT_EQ(doc.readNumber(1, 7, 7), 1);
  EXPECT_EQ(doc.readNumber(1, 7, 8), 80);
  EXPECT_EQ(doc.readNumber(1, 7, 9), 40);
  EXPECT_EQ(doc.readNumber(1, 7, 10), 0);
  EXPECT_EQ(doc.readNumber(1, 7, 11), 45352.5);
  EXPECT_EQ(doc.readNumber(1, 7, 12), 0.0015);
  EXPECT_EQ(doc.readNumber(1, 7, 13), 0);  // missing cell in an existing row
  EXPECT_EQ(doc.readNumber(1, 8, 3), 0);   // missing row
  EXPECT_EQ(doc.readNumber(3, 1, 1), 0);   // empty sheet
}

TEST(XlsxReading, WhatIsNotANumberIsAFaultNamingTheCell) {
  XlsxDocument doc = documentWith(kValues);
  FaultKind kind{};
  std::string text = faultOf([&] { doc.readNumber(1, 9, 3); }, &kind);
  EXPECT_EQ(kind, FaultKind::TypeMismatch);
  EXPECT_NE(text.find("sheet 1, cell C9"), std::string::npos) << text;
  EXPECT_NE(text.find("\"warm\""), std::string::npos) << text;

  text = faultOf([&] { doc.readNumber(1, 9, 4); }, &kind);
  EXPECT_EQ(kind, FaultKind::TypeMismatch);
  EXPECT_NE(text.find("sheet 1, cell D9"), std::string::npos) << text;
  EXPECT_NE(text.find("#DIV/0!"), std::string::npos) << text;

  text = faultOf([&] { doc.readNumber(1, 9, 5); }, &kind);
  EXPECT_EQ(kind, FaultKind::Workbook);
  EXPECT_NE(text.find("sheet 1, cell E9 holds a formula"), std::string::npos) << text;

  text = faultOf([&] { doc.readNumber(1, 9, 6); }, &kind);
  EXPECT_NE(text.find("F9"), std::string::npos) << text;

  text = faultOf([&] { doc.readNumber(1, 9, 7); }, &kind);
  EXPECT_EQ(kind, FaultKind::TypeMismatch);
  EXPECT_NE(text.find("\"10 kg\""), std::string::npos) << text;

  text = faultOf([&] { doc.readNumber(4, 1, 1); }, &kind);
  EXPECT_EQ(kind, FaultKind::SubscriptOutOfRange);
  EXPECT_NE(text.find("no sheet 4"), std::string::npos) << text;
  EXPECT_THROW(doc.readNumber(1, 0, 1), Fault);
  EXPECT_THROW(doc.readNumber(1, 1, 16385), Fault);
}

TEST(XlsxReading, PrefixedPartsAndCellsWithoutReferences) {
  // Some writers put the main namespace under a prefix and leave out the
  // optional row and cell numbers.
  std::string sheet =
      "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
      "<x:row><x:c><x:v>1</x:v></x:c><x:c><x:v>2</x:v></x:c></x:row>"
      "<x:row r=\"5\"><x:c r=\"C5\"><x:v>3</x:v></x:c><x:c><x:v>4</x:v></x:c></x:row>"
      "<x:row r=\"3\"><x:c r=\"B3\" t=\"inlineStr\"><x:is><x:t>5</x:t></x:is></x:c></x:row>"
      "</x:sheetData></x:worksheet>";
  Book book;
  book.sheets[1] = sheet;
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  EXPECT_EQ(doc.readNumber(2, 1, 1), 1);
  EXPECT_EQ(doc.readNumber(2, 1, 2), 2);
  EXPECT_EQ(doc.readNumber(2, 5, 3), 3);
  EXPECT_EQ(doc.readNumber(2, 5, 4), 4);
  EXPECT_EQ(doc.readNumber(2, 3, 2), 5);
}

TEST(XlsxReading, SheetsComeInTheWorkbooksOrderThroughItsRelationships) {
  Book book;
  for (int i = 0; i < 3; ++i)
    book.sheets[std::size_t(i)] = sheetXml("<row r=\"1\"><c r=\"A1\"><v>" + std::to_string(i + 1) + "</v></c></row>");
  Parts parts = book.build();
  // The workbook part under another name, listing the parts in another order.
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  for (auto& [name, content] : parts) {
    if (name == "_rels/.rels")
      content =
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
          "<Relationship Id=\"a\" Type=\"" +
          rel + "/officeDocument\" Target=\"/xl/book.xml\"/></Relationships>";
    if (name == "xl/workbook.xml") {
      name = "xl/book.xml";
      content =
          "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" + rel +
          "\"><sheets><sheet name=\"C\" sheetId=\"3\" r:id=\"rId3\"/><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/>"
          "<sheet name=\"B\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>";
    }
    if (name == "xl/_rels/workbook.xml.rels") name = "xl/_rels/book.xml.rels";
    if (name == "[Content_Types].xml") {
      auto at = content.find("/xl/workbook.xml");
      content.replace(at, 16, "/xl/book.xml");
    }
  }
  XlsxDocument doc(zipBytes(parts), "test.xlsx");
  EXPECT_EQ(doc.readNumber(1, 1, 1), 3);
  EXPECT_EQ(doc.readNumber(2, 1, 1), 1);
  EXPECT_EQ(doc.readNumber(3, 1, 1), 2);
}

TEST(XlsxReading, LimitsStopHostileFiles) {
  Limits small;
  small.maxEntries = 20;
  small.maxPartSize = 1 << 20;
  small.maxTotalSize = 5 << 19;
  small.maxTreeSize = 1 << 16;
  auto faultWith = [&](const Parts& parts) {
    return faultOf([&] {
      XlsxDocument doc(zipBytes(parts), "hostile.xlsx", small);
      for (int sheet = 1; sheet <= 3; ++sheet) doc.readNumber(sheet, 1, 1);
    });
  };
  // A part that inflates far beyond its size in the archive.
  Book bomb;
  bomb.sheets[1] = sheetXml("", "", std::string(4 << 20, ' '));
  EXPECT_NE(faultWith(bomb.build()).find("too large to read"), std::string::npos);
  // Many parts, each within the limit, together beyond it.
  Book many;
  for (auto& sheet : many.sheets)
    sheet = sheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>" + std::string(1000000, ' '));
  many.sheets.push_back(many.sheets[0]);
  EXPECT_NE(faultWith(many.build()).find("more data than this program can read"), std::string::npos);
  // Too many entries.
  Book crowded;
  for (int i = 0; i < 30; ++i) crowded.extraParts.emplace_back("x/" + std::to_string(i) + ".xml", "<x/>");
  EXPECT_NE(faultWith(crowded.build()).find("too many zip entries"), std::string::npos);
  // Everything but the cells goes into a tree, whose size is bounded too.
  Book wide;
  wide.sheets[2] = sheetXml("", std::string(100000, ' ') + "<sheetPr/>");
  EXPECT_NE(faultWith(wide.build()).find("too large to read"), std::string::npos);
}

class XlsxFileFaults : public ::testing::Test {
 protected:
  std::string bindFault(const std::string& path) {
    XlsxEngine engine;
    return faultOf([&] { engine.bind(path); });
  }
  TempDir dir;
};

TEST_F(XlsxFileFaults, FilesThatAreNotWorkbooks) {
  EXPECT_NE(bindFault(dir.file("missing.xlsx")).find("does not exist"), std::string::npos);

  writeFile(dir.file("notes.xlsx"), "Tank 3, 20 C\nreadings follow\n");
  EXPECT_NE(bindFault(dir.file("notes.xlsx")).find("not a zip archive"), std::string::npos);

  writeFile(dir.file("old.xls"), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'));
  EXPECT_NE(bindFault(dir.file("old.xls")).find("not a zip archive"), std::string::npos);

  Parts slides = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Override "
       "PartName=\"/ppt/presentation.xml\" "
       "ContentType=\"application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml\"/></Types>"},
      {"_rels/.rels",
       "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
       "Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
       "Target=\"ppt/presentation.xml\"/></Relationships>"},
      {"ppt/presentation.xml", "<p:presentation xmlns:p=\"p\"/>"}};
  writeFile(dir.file("slides.xlsx"), zipBytes(slides));
  EXPECT_NE(bindFault(dir.file("slides.xlsx")).find("it is a presentation"), std::string::npos);

  writeFile(dir.file("odf.xlsx"),
            zipBytes({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", "<x/>"}}));
  EXPECT_NE(bindFault(dir.file("odf.xlsx")).find("OpenDocument"), std::string::npos);

  writeFile(dir.file("empty.xlsx"), "");
  EXPECT_NE(bindFault(dir.file("empty.xlsx")).find("empty file"), std::string::npos);
  EXPECT_NE(bindFault(dir.path()).find("not a workbook file"), std::string::npos);
}

TEST_F(XlsxFileFaults, WorkbooksThatCannotHoldTheAnalysis) {
  Book two;
  two.sheets.pop_back();
  writeFile(dir.file("two.xlsx"), zipBytes(two.build()));
  EXPECT_NE(bindFault(dir.file("two.xlsx")).find("has 2 sheets"), std::string::npos);

  Book chart;
  Parts parts = chart.build();
  for (auto& [name, content] : parts)
    if (name == "xl/_rels/workbook.xml.rels") {
      auto at = content.find("relationships/worksheet\" Target=\"worksheets/sheet2.xml");
      content.replace(at, std::strlen("relationships/worksheet"), "relationships/chartsheet");
    }
  writeFile(dir.file("chart.xlsx"), zipBytes(parts));
  // The engine opens it; the analysis refuses it, since without defined
  // names its sheets are the first three tabs.
  XlsxEngine engine;
  auto charted = engine.bind(dir.file("chart.xlsx"));
  EXPECT_EQ(charted->sheets().at(1).otherKind, "a chart sheet");
  std::string text = faultOf([&] { findTemplateSheets(*charted, "chart.xlsx"); });
  EXPECT_NE(text.find("sheet 2 (\"Sheet2\") of the workbook chart.xlsx is a chart sheet"), std::string::npos) << text;

  Book missingPart;
  parts = missingPart.build();
  parts.erase(std::remove_if(parts.begin(), parts.end(), [](auto& p) { return p.first == "xl/worksheets/sheet3.xml"; }),
              parts.end());
  writeFile(dir.file("damaged.xlsx"), zipBytes(parts));
  EXPECT_NE(bindFault(dir.file("damaged.xlsx")).find("sheet 3 is missing"), std::string::npos);

  Book fine;
  writeFile(dir.file("locked.xlsx"), zipBytes(fine.build()));
  ::chmod(dir.file("locked.xlsx").c_str(), 0444);
  EXPECT_NE(bindFault(dir.file("locked.xlsx")).find("read-only"), std::string::npos);
}

TEST_F(XlsxFileFaults, DamagedPartsAreFaultsNamingThePart) {
  Book book;
  book.sheets[1] = sheetXml("<row r=\"2\"><c r=\"A2\"><v>1</v></row>");
  writeFile(dir.file("bad.xlsx"), zipBytes(book.build()));
  XlsxEngine engine;
  auto wb = engine.bind(dir.file("bad.xlsx"));  // sheets are read when first used
  std::string text = faultOf([&] { wb->readNumber(2, 2, 1); });
  EXPECT_NE(text.find("xl/worksheets/sheet2.xml"), std::string::npos) << text;
  EXPECT_NE(text.find("damaged"), std::string::npos) << text;

  book.sheets[1] = sheetXml("<row r=\"2\"><c r=\"A3\"><v>1</v></c></row>");
  writeFile(dir.file("bad2.xlsx"), zipBytes(book.build()));
  wb = engine.bind(dir.file("bad2.xlsx"));
  EXPECT_NE(faultOf([&] { wb->readNumber(2, 2, 1); }).find("A3 stands in row 2"), std::string::npos);

  book.sheets[1] = sheetXml("<row r=\"2\"/><row r=\"2\"/>");
  writeFile(dir.file("bad3.xlsx"), zipBytes(book.build()));
  wb = engine.bind(dir.file("bad3.xlsx"));
  EXPECT_NE(faultOf([&] { wb->readNumber(2, 2, 1); }).find("row 2 appears twice"), std::string::npos);
}

}  // namespace
}  // namespace vk::xlsx

// What the input checks and the finding of the template's sheets need of a
// workbook file: the kind of each cell's value (its type and its number
// format), the sheets' tabs, and the workbook-level defined names.

#include <gtest/gtest.h>

#include "module1/Fault.h"
#include "tests/workbook/xlsx/XlsxFiles.h"
#include "workbook/xlsx/XlsxDocument.h"
#include "workbook/xlsx/XlsxEngine.h"
#include "workbook/xlsx/sheet/NumberFormats.h"
#include "workbook/xlsx/sheet/SheetReference.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;

// Cell formats: 0 General, 1 "0.00", 2 built-in date (14), 3 a custom date
// and time, 4 an elapsed time, 5 a number with a unit in quotes.
const char* kFormats =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"4\"><numFmt numFmtId=\"164\" formatCode=\"yyyy\\-mm\\-dd hh:mm\"/>"
    "<numFmt numFmtId=\"165\" formatCode=\"[h]:mm\"/><numFmt numFmtId=\"166\" formatCode=\"0.0&quot; days&quot;\"/>"
    "<numFmt numFmtId=\"2\" formatCode=\"0.00\"/></numFmts>"
    "<cellXfs count=\"6\"><xf numFmtId=\"0\"/><xf numFmtId=\"2\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
    "<xf numFmtId=\"165\"/><xf numFmtId=\"166\"/></cellXfs></styleSheet>";

TEST(CellKinds, FromTheTypeAndTheNumberFormat) {
  Book book;
  book.styles = kFormats;
  book.sharedStrings =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>7</t></si></sst>";
  book.sheets[0] = sheetXml(
      "<row r=\"7\"><c r=\"A7\"><v>1</v></c><c r=\"B7\" t=\"b\"><v>1</v></c><c r=\"C7\" t=\"e\"><v>#N/A</v></c>"
      "<c r=\"D7\" t=\"s\"><v>0</v></c><c r=\"E7\" t=\"str\"><f>\"x\"</f><v>x</v></c>"
      "<c r=\"F7\" t=\"inlineStr\"><is><t>8</t></is></c><c r=\"G7\" t=\"d\"><v>2025-01-01T09:00:00</v></c>"
      "<c r=\"H7\" s=\"1\"/><c r=\"I7\" t=\"b\"><f>A7&gt;0</f><v>1</v></c><c r=\"J7\"><f>A7*2</f></c></row>"
      "<row r=\"8\"><c r=\"A8\" s=\"1\"><v>2</v></c><c r=\"B8\" s=\"2\"><v>45658</v></c>"
      "<c r=\"C8\" s=\"3\"><v>45658.375</v></c><c r=\"D8\" s=\"4\"><v>0.5</v></c><c r=\"E8\" s=\"5\"><v>3</v></c>"
      "<c r=\"F8\" s=\"3\"><f>B8+1</f><v>45659</v></c></row>");
  XlsxDocument doc(zipBytes(book.build()), "kinds.xlsx");
  const CellKind row7[] = {CellKind::Number, CellKind::Boolean,  CellKind::Error, CellKind::Text,    CellKind::Text,
                           CellKind::Text,   CellKind::DateTime, CellKind::Empty, CellKind::Boolean, CellKind::Number};
  for (int column = 1; column <= 10; ++column) EXPECT_EQ(doc.cellKind(1, 7, column), row7[column - 1]) << column;
  const CellKind row8[] = {CellKind::Number,   CellKind::DateTime, CellKind::DateTime,
                           CellKind::DateTime, CellKind::Number,   CellKind::DateTime};
  for (int column = 1; column <= 6; ++column) EXPECT_EQ(doc.cellKind(1, 8, column), row8[column - 1]) << column;
  EXPECT_EQ(doc.cellKind(1, 9, 1), CellKind::Empty);  // no such row

  // What the program writes is a number, what it clears is empty, whatever the format.
  doc.write(1, 8, 2, Variant::single(1.5f));
  doc.write(1, 7, 2, Variant());
  EXPECT_EQ(doc.cellKind(1, 8, 2), CellKind::Number);
  EXPECT_EQ(doc.cellKind(1, 7, 2), CellKind::Empty);
}

TEST(CellKinds, DateAndTimeTokensCountOutsideTextEscapesAndBrackets) {
  for (const char* code : {"yyyy-mm-dd", "d/m/yy", "h:mm AM/PM", "[h]:mm:ss", "[mm]", "mmm", "[$-409]dddd",
                           "[Red]hh:mm;0", "\"at\" hh:mm"})
    EXPECT_TRUE(isDateTimeFormatCode(code)) << code;
  for (const char* code : {"General", "0.00", "0.00E+00", "#,##0_);[Red](#,##0)", "0.0 \"days\"", "0\\d", "@",
                           "[Blue]0.0", "[>100]0;0.00", "* #,##0", "_-* #,##0"})
    EXPECT_FALSE(isDateTimeFormatCode(code)) << code;
}

TEST(DefinedNames, TheCellsOfOneSheetOrNone) {
  auto ref = [](const char* text) { return parseSheetReference(text); };
  auto cells = ref("Test!$C$7:$C$12");
  ASSERT_TRUE(cells);
  EXPECT_EQ(cells->sheetName, "Test");
  EXPECT_EQ(cells->range.firstRow, 7);
  EXPECT_EQ(cells->range.lastRow, 12);
  EXPECT_EQ(cells->range.firstColumn, 3);
  EXPECT_EQ(ref("'Initial analysis'!$A$7:$AI$22")->range.lastColumn, 35);
  EXPECT_EQ(ref("'It''s'!E7")->sheetName, "It's");
  EXPECT_EQ(ref("=Test!E7")->range.lastColumn, 5);
  EXPECT_EQ(ref("Test!$A:$C")->range.lastRow, kMaxRows);
  EXPECT_EQ(ref("Test!$7:$12")->range.lastColumn, kMaxColumns);
  for (const char* none : {"#REF!$A$13:$H$19", "Test!#REF!", "Test:Results!A1", "[1]Test!A1", "Test!A1,Test!B2", "3.5",
                           "Test!A1:B", "Test!B2:A1", "'Test!A1", "SUM(Test!A1:A3)"})
    EXPECT_FALSE(ref(none)) << none;
}

TEST(DefinedNames, WorkbookLevelNamesWithTheirSheetsAndTheTabs) {
  Book book;
  book.sheets.push_back(sheetXml(""));
  book.hiddenSheets = {2};
  book.definedNames =
      "<definedNames><definedName name=\"VK_Test\" localSheetId=\"0\">Sheet1!$A$1</definedName>"
      "<definedName name=\"vk_test\">Sheet3!$C$7:$C$12</definedName>"
      "<definedName name=\"VK_Results\">Gone!$A$13:$H$19</definedName>"
      "<definedName name=\"Rate\">0.96</definedName></definedNames>";
  XlsxDocument doc(zipBytes(book.build()), "names.xlsx");
  auto test = doc.definedName("VK_Test");  // the sheet's own name is not the workbook's
  ASSERT_TRUE(test);
  EXPECT_EQ(test->sheet, 3);
  EXPECT_EQ(test->range.firstRow, 7);
  EXPECT_EQ(doc.definedName("VK_Results")->sheet, 0);  // no sheet of that name
  EXPECT_EQ(doc.definedName("VK_Results")->refersTo, "Gone!$A$13:$H$19");
  EXPECT_FALSE(doc.definedName("Rate")->refersToCells());
  EXPECT_FALSE(doc.definedName("VK_InitialAnalysis"));
  const auto tabs = doc.sheets();
  ASSERT_EQ(tabs.size(), 4u);
  EXPECT_TRUE(tabs[1].hidden);
  EXPECT_FALSE(tabs[2].hidden);
  EXPECT_EQ(tabs[3].name, "Sheet4");
}

TEST(ZipEntries, TwoOfTheSameNameAreDamage) {
  // libzip writes no two entries of one name: a stand-in name of the same
  // length is renamed in the finished bytes.
  Book book;
  Parts parts = book.build();
  parts.emplace_back("xl/worksheets/sheet1.xmQ", sheetXml("<row r=\"7\"><c r=\"C7\"><v>9</v></c></row>"));
  std::string bytes = zipBytes(parts);
  for (auto at = bytes.find("sheet1.xmQ"); at != std::string::npos; at = bytes.find("sheet1.xmQ", at))
    bytes.replace(at, 10, "sheet1.xml");
  TempDir dir;
  writeFile(dir.file("twice.xlsx"), bytes);
  XlsxEngine engine;
  try {
    engine.bind(dir.file("twice.xlsx"));
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_NE(std::string(fault.what())
                  .find("is damaged: its zip archive holds two entries named "
                        "xl/worksheets/sheet1.xml"),
              std::string::npos)
        << fault.what();
  }
}

}  // namespace
}  // namespace vk::xlsx

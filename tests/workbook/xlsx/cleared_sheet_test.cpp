// A large sheet whose results are cleared keeps only the text it still
// needs, and is written back exactly as if it had kept all of it.

#include <gtest/gtest.h>

#include <string>

#include "workbook/xlsx/sheet/SheetCells.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {
namespace {

std::string row(int r) {
  const std::string n = std::to_string(r), value = "<v>10.510000228881836</v></c>";
  // A is left alone; B to E hold results in a plain format, but now and then
  // C has its format in single quotes, D an attribute besides the format, E
  // no format at all.
  const bool odd = r % 7 == 0;
  return "<row r=\"" + n + "\" spans=\"1:5\"" + (r % 10 == 0 ? " ht=\"20\" customHeight=\"1\"" : "") + "><c r=\"A" + n +
         "\" s=\"2\"><v>" + n + "</v></c><c r=\"B" + n + "\" s=\"6\">" + value + "<c r=\"C" + n +
         (odd ? "\" s='6'>" : "\" s=\"6\">") + value + "<c r=\"D" + n + (odd ? "\" s=\"7\" ph=\"1\">" : "\" s=\"7\">") +
         value + "<c r=\"E" + n + (odd ? "\">" : "\" s=\"8\">") + value +
         (r == 99 ? "<extLst><ext uri=\"x\"/></extLst>" : "") + "</row>";
}

TEST(ClearedSheet, KeepsOnlyTheTextStillNeededAndWritesTheSame) {
  constexpr int kRows = 20000;
  const std::string head = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\"><f>A3*2</f><v>6</v></c></row>";
  std::string text = "<sheetData>" + head;
  for (int r = 3; r <= kRows; ++r) text += row(r);
  text += "</sheetData>";
  ASSERT_GT(text.size(), std::size_t(2) << 20);

  SheetCells cells;
  XmlScanner scanner(text, "test", 64);
  ASSERT_EQ(scanner.next(), XmlScanner::Token::Start);
  cells.parse(text, scanner, "", "test", 64);
  cells.keepText(text);
  EXPECT_TRUE(cells.clear({3, 2, kRows, 5}));
  EXPECT_LT(cells.textSize(), text.size() / 3) << "the cleared cells' text was kept";
  for (int r = 3; r <= kRows; r += 1000) {  // 1003 among them
    cells.setNumber(r, 2, r + 0.25);
    cells.setNumber(r, 5, r);
  }

  std::string out;
  cells.emit(out, [] {});
  EXPECT_EQ(out.substr(0, head.size()), head) << "an untouched row changed";
  auto rowOf = [&](int r) {
    const std::size_t at = out.find("<row r=\"" + std::to_string(r) + "\"");
    return at == std::string::npos ? std::string() : out.substr(at, out.find("</row>", at) + 6 - at);
  };
  EXPECT_EQ(rowOf(4),
            "<row r=\"4\"><c r=\"A4\" s=\"2\"><v>4</v></c><c r=\"B4\" s=\"6\"/><c r=\"C4\" s=\"6\"/>"
            "<c r=\"D4\" s=\"7\"/><c r=\"E4\" s=\"8\"/></row>");
  EXPECT_EQ(rowOf(7),
            "<row r=\"7\"><c r=\"A7\" s=\"2\"><v>7</v></c><c r=\"B7\" s=\"6\"/><c r=\"C7\" s='6'/>"
            "<c r=\"D7\" s=\"7\" ph=\"1\"/></row>");
  EXPECT_EQ(rowOf(1003),
            "<row r=\"1003\"><c r=\"A1003\" s=\"2\"><v>1003</v></c><c r=\"B1003\" s=\"6\"><v>1003.25</v></c>"
            "<c r=\"C1003\" s=\"6\"/><c r=\"D1003\" s=\"7\"/><c r=\"E1003\" s=\"8\"><v>1003</v></c></row>");
  EXPECT_EQ(rowOf(10),
            "<row r=\"10\" ht=\"20\" customHeight=\"1\"><c r=\"A10\" s=\"2\"><v>10</v></c>"
            "<c r=\"B10\" s=\"6\"/><c r=\"C10\" s=\"6\"/><c r=\"D10\" s=\"7\"/><c r=\"E10\" s=\"8\"/></row>");
  EXPECT_NE(rowOf(99).find("<c r=\"E99\" s=\"8\"/><extLst><ext uri=\"x\"/></extLst></row>"), std::string::npos)
      << rowOf(99);
  EXPECT_EQ(
      rowOf(kRows - 1).rfind("<row r=\"19999\"><c r=\"A19999\" s=\"2\"><v>19999</v></c><c r=\"B19999\" s=\"6\"/>", 0),
      0u);
}

// Reads and writes go down a column a row at a time, skip rows, turn back and
// outlive cleared rows: each finds its own row, never the one it came from.
TEST(ClearedSheet, RowsFoundInAnyOrderAroundClearedOnes) {
  const std::string text =
      "<sheetData><row r=\"2\"><c r=\"A2\"><v>2</v></c></row><row r=\"3\"><c r=\"A3\"><v>3</v></c></row>"
      "<row r=\"5\"><c r=\"A5\"><v>5</v></c></row></sheetData>";
  SheetCells cells;
  XmlScanner scanner(text, "test", 64);
  ASSERT_EQ(scanner.next(), XmlScanner::Token::Start);
  cells.parse(text, scanner, "", "test", 64);
  cells.keepText(text);
  auto valueAt = [&](int row) -> std::string {
    const SheetCells::Cell* cell = cells.find(row, 1);
    if (!cell) return "none";
    if (cell->state == SheetCells::State::Number) return std::to_string(int(cell->number));
    return std::string(cells.plain(*cell)->value);
  };
  EXPECT_EQ(valueAt(2), "2");
  EXPECT_EQ(valueAt(3), "3");
  EXPECT_EQ(valueAt(4), "none");  // the row after the last one found is not this one
  EXPECT_EQ(valueAt(5), "5");
  EXPECT_EQ(valueAt(2), "2");

  for (int row : {6, 7, 4, 8, 1}) cells.setNumber(row, 1, row * 10);  // new rows, in and out of order
  cells.setNumber(3, 1, 33);
  EXPECT_EQ(valueAt(1), "10");
  EXPECT_EQ(valueAt(3), "33");
  EXPECT_EQ(valueAt(4), "40");
  EXPECT_EQ(valueAt(7), "70");

  cells.clear({3, 1, 7, 1});  // rows 3 to 7 go, the program's among them
  for (int row : {7, 3, 4, 5, 6}) EXPECT_EQ(valueAt(row), "none") << "row " << row;  // 7: the last found
  EXPECT_EQ(valueAt(8), "80");
  cells.setNumber(7, 1, 7);
  cells.setNumber(8, 1, 88);
  EXPECT_EQ(valueAt(7), "7");
  EXPECT_EQ(valueAt(8), "88");

  std::string out;
  cells.emit(out, [] {});
  std::string rows;
  for (std::size_t at = out.find("<row r=\""); at != std::string::npos; at = out.find("<row r=\"", at + 1))
    rows += out.substr(at + 8, out.find('"', at + 8) - at - 8) + " ";
  EXPECT_EQ(rows, "1 2 7 8 ");  // rows left with nothing, of the file or the program's, go
}

}  // namespace
}  // namespace vk::xlsx

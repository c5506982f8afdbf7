// Writing, clearing, selecting, showing and "Redraw", checked in the XML the
// engine produces: types, formats, the order of rows and cells, views and the
// recalculation marks.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <algorithm>
#include <random>

#include "module1/Fault.h"
#include "tests/workbook/xlsx/XlsxFiles.h"
#include "workbook/xlsx/XlsxDocument.h"
#include "workbook/xlsx/sheet/CellRef.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;

std::string partOf(const std::string& bytes, const std::string& name) {
  auto entries = readZip(bytes);
  const Entry* e = findEntry(entries, name);
  return e ? e->data : std::string();
}

std::string sheetPart(const std::string& bytes, int sheet) {
  return partOf(bytes, "xl/worksheets/sheet" + std::to_string(sheet) + ".xml");
}

pugi::xml_node cellNode(pugi::xml_document& doc, const std::string& ref) {
  return doc.select_node(("//c[@r='" + ref + "']").c_str()).node();
}

// Rows ascending, cells ascending within a row and in their row: what Excel
// needs to open a file without repairing it.
void expectOrdered(const std::string& sheetXmlText) {
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(sheetXmlText.c_str()));
  int lastRow = 0;
  for (pugi::xml_node row : doc.child("worksheet").child("sheetData").children("row")) {
    int r = row.attribute("r").as_int();
    EXPECT_GT(r, lastRow) << "row " << r << " after row " << lastRow;
    lastRow = r;
    int lastColumn = 0;
    for (pugi::xml_node c : row.children("c")) {
      int cr = 0, cc = 0;
      ASSERT_TRUE(parseCellRef(c.attribute("r").value(), cr, cc)) << c.attribute("r").value();
      EXPECT_EQ(cr, r);
      EXPECT_GT(cc, lastColumn) << c.attribute("r").value();
      lastColumn = cc;
    }
  }
}

TEST(XlsxWriting, ValuesKeepTheirTypeAndCellsTheirFormat) {
  Book book;
  book.sharedStrings =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>old</t></si></sst>";
  book.sheets[2] = sheetXml(
      "<row r=\"45\">"
      "<c r=\"J45\" s=\"1\" t=\"str\"><f>\"x\"</f><v>x</v></c>"
      "<c r=\"K45\" t=\"inlineStr\"><is><t>text</t></is></c>"
      "<c r=\"L45\" s=\"2\" t=\"s\"><v>0</v></c>"
      "<c r=\"M45\" s=\"1\"><v>3</v></c>"
      "<c r=\"N45\"><v>4</v></c>"
      "</row>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.write(3, 45, 10, Integer(5));
  doc.write(3, 45, 11, Variant::single(29.92f));
  doc.write(3, 45, 12, Variant::dbl(29.92));
  doc.write(3, 45, 13, Variant());
  doc.write(3, 45, 14, Variant());
  doc.write(3, 45, 15, Variant::single(-0.1f));
  std::string bytes = doc.render();

  pugi::xml_document sheet;
  ASSERT_TRUE(sheet.load_string(sheetPart(bytes, 3).c_str()));
  pugi::xml_node j = cellNode(sheet, "J45");
  EXPECT_STREQ(j.attribute("s").value(), "1");
  EXPECT_FALSE(j.attribute("t"));
  EXPECT_FALSE(j.child("f"));
  EXPECT_STREQ(j.child_value("v"), "5");
  pugi::xml_node k = cellNode(sheet, "K45");
  EXPECT_FALSE(k.attribute("t"));
  EXPECT_FALSE(k.child("is"));
  EXPECT_STREQ(k.child_value("v"), "29.920000076293945");
  pugi::xml_node l = cellNode(sheet, "L45");
  EXPECT_STREQ(l.attribute("s").value(), "2");
  EXPECT_FALSE(l.attribute("t"));
  EXPECT_STREQ(l.child_value("v"), "29.92");
  pugi::xml_node m = cellNode(sheet, "M45");
  ASSERT_TRUE(m);  // its format stays
  EXPECT_STREQ(m.attribute("s").value(), "1");
  EXPECT_FALSE(m.first_child());
  EXPECT_FALSE(cellNode(sheet, "N45"));  // nothing of it stays
  EXPECT_STREQ(cellNode(sheet, "O45").child_value("v"), "-0.10000000149011612");

  // The shared strings are left alone; the old string is just not used.
  EXPECT_NE(partOf(bytes, "xl/sharedStrings.xml").find("old"), std::string::npos);

  XlsxDocument again(bytes, "test.xlsx");
  EXPECT_EQ(again.readNumber(3, 45, 10), 5);
  EXPECT_EQ(again.readNumber(3, 45, 11), double(29.92f));
  EXPECT_EQ(again.readNumber(3, 45, 12), 29.92);
  EXPECT_EQ(again.readNumber(3, 45, 13), 0);
}

TEST(XlsxWriting, RowsAndCellsStayInOrder) {
  Book book;
  book.sheets[1] = sheetXml(
      "<row r=\"10\" spans=\"5:6\"><c r=\"E10\"><v>1</v></c><c r=\"F10\"><v>2</v></c></row>"
      "<row r=\"20\"><c r=\"C20\"><v>3</v></c></row>",
      "<dimension ref=\"C10:F20\"/>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  std::vector<std::pair<int, int>> cells;
  for (int r : {1, 9, 10, 11, 20, 25, 700})
    for (int c : {1, 4, 5, 7, 30, 49}) cells.emplace_back(r, c);
  std::mt19937 random(7);
  std::shuffle(cells.begin(), cells.end(), random);
  for (auto [r, c] : cells) doc.write(2, r, c, Variant::dbl(r * 100 + c));
  std::string bytes = doc.render();
  std::string xml = sheetPart(bytes, 2);
  expectOrdered(xml);

  pugi::xml_document sheet;
  ASSERT_TRUE(sheet.load_string(xml.c_str()));
  EXPECT_STREQ(sheet.child("worksheet").child("dimension").attribute("ref").value(), "A1:AW700");
  // A changed row loses its span, which no longer holds.
  EXPECT_FALSE(sheet.select_node("//row[@r='10']").node().attribute("spans"));
  XlsxDocument again(bytes, "test.xlsx");
  for (auto [r, c] : cells) EXPECT_EQ(again.readNumber(2, r, c), r * 100 + c);
  EXPECT_EQ(again.readNumber(2, 10, 6), 2);
  EXPECT_EQ(again.readNumber(2, 20, 3), 3);
}

TEST(XlsxWriting, UntouchedRowsOfAChangedSheetAreWrittenAsRead) {
  const std::string row7 =
      "<row r=\"7\" ht=\"20\" customHeight=\"1\"><c r=\"A7\" s=\"1\"><v>0.1</v></c><c r=\"B7\" t=\"inlineStr\"><is><t "
      "xml:space=\"preserve\"> a&amp;b </t></is></c></row>";
  Book book;
  book.sheets[1] = sheetXml(row7 + "<row r=\"8\"><c r=\"A8\"><v>1</v></c></row>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.write(2, 8, 1, Integer(2));
  std::string xml = sheetPart(doc.render(), 2);
  EXPECT_NE(xml.find(row7), std::string::npos) << xml;
  EXPECT_NE(xml.find("<row r=\"8\"><c r=\"A8\"><v>2</v></c></row>"), std::string::npos) << xml;
}

TEST(XlsxWriting, NewCellsTakeTheFormatOfTheirRowOrColumn) {
  Book book;
  book.sheets[2] = sheetXml("<row r=\"50\" s=\"1\" customFormat=\"1\"><c r=\"A50\"><v>1</v></c></row>",
                            "<cols><col min=\"10\" max=\"14\" width=\"9\" style=\"2\" customWidth=\"1\"/></cols>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.write(3, 45, 10, Integer(1));
  doc.write(3, 45, 15, Integer(1));
  doc.write(3, 50, 11, Integer(1));
  pugi::xml_document sheet;
  ASSERT_TRUE(sheet.load_string(sheetPart(doc.render(), 3).c_str()));
  EXPECT_STREQ(cellNode(sheet, "J45").attribute("s").value(), "2");
  EXPECT_FALSE(cellNode(sheet, "O45").attribute("s"));
  EXPECT_STREQ(cellNode(sheet, "K50").attribute("s").value(), "1");
}

TEST(XlsxWriting, ClearingKeepsFormatsAndCostsOnlyTheCellsThatExist) {
  Book book;
  book.sheets[2] = sheetXml(
      "<row r=\"44\"><c r=\"J44\"><v>9</v></c></row>"
      "<row r=\"45\"><c r=\"I45\"><v>1</v></c><c r=\"J45\" s=\"1\"><v>2</v></c><c r=\"K45\"><f>J45</f><v>2</v></c>"
      "<c r=\"AX45\"><v>3</v></c></row>"
      "<row r=\"46\" ht=\"30\" customHeight=\"1\"><c r=\"J46\"><v>4</v></c></row>"
      "<row r=\"47\"><c r=\"J47\"><v>5</v></c></row>"
      "<row r=\"32767\"><c r=\"AW32767\" s=\"2\"><v>6</v></c></row>"
      "<row r=\"32768\"><c r=\"J32768\"><v>7</v></c></row>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.clearContents(3, parseA1("j45:aw32767"));
  // Every address of a sheet: a clear that walked the addresses would never end.
  doc.clearContents(2, parseA1("a1:xfd1048576"));
  std::string bytes = doc.render();
  std::string xml = sheetPart(bytes, 3);
  expectOrdered(xml);
  pugi::xml_document sheet;
  ASSERT_TRUE(sheet.load_string(xml.c_str()));
  EXPECT_STREQ(cellNode(sheet, "J44").child_value("v"), "9");
  EXPECT_STREQ(cellNode(sheet, "I45").child_value("v"), "1");
  EXPECT_STREQ(cellNode(sheet, "AX45").child_value("v"), "3");
  EXPECT_STREQ(cellNode(sheet, "J32768").child_value("v"), "7");
  pugi::xml_node j45 = cellNode(sheet, "J45");
  ASSERT_TRUE(j45);
  EXPECT_STREQ(j45.attribute("s").value(), "1");
  EXPECT_FALSE(j45.first_child());
  EXPECT_FALSE(cellNode(sheet, "K45"));
  EXPECT_FALSE(cellNode(sheet, "J46"));
  EXPECT_TRUE(sheet.select_node("//row[@r='46']").node());  // its height stays
  EXPECT_FALSE(sheet.select_node("//row[@r='47']").node());
  EXPECT_STREQ(cellNode(sheet, "AW32767").attribute("s").value(), "2");
  EXPECT_FALSE(cellNode(sheet, "AW32767").first_child());
}

TEST(XlsxWriting, CellsSharingALostFormulaGetTheirOwn) {
  Book book;
  book.sheets[2] = sheetXml(
      "<row r=\"2\"><c r=\"B2\"><f t=\"shared\" ref=\"B2:B5\" si=\"0\">A2*2+$C$1+Sheet2!A2</f><v>1</v></c>"
      "<c r=\"D2\"><f t=\"shared\" ref=\"D2:D3\" si=\"1\">A2</f><v>1</v></c></row>"
      "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"0\"/><v>2</v></c><c r=\"D3\"><f t=\"shared\" "
      "si=\"1\"/><v>2</v></c></row>"
      "<row r=\"4\"><c r=\"B4\"><f t=\"shared\" si=\"0\"/><v>3</v></c></row>"
      "<row r=\"5\"><c r=\"B5\" s=\"1\"><f t=\"shared\" si=\"0\"/><v>4</v></c></row>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.clearContents(3, parseA1("b2"));
  doc.write(3, 4, 2, Integer(9));
  doc.write(3, 3, 4, Integer(8));  // a cell sharing a formula that stays
  pugi::xml_document sheet;
  ASSERT_TRUE(sheet.load_string(sheetPart(doc.render(), 3).c_str()));
  EXPECT_FALSE(cellNode(sheet, "B2"));
  EXPECT_STREQ(cellNode(sheet, "B3").child_value("f"), "A3*2+$C$1+Sheet2!A3");
  EXPECT_FALSE(cellNode(sheet, "B3").child("f").attribute("si"));
  EXPECT_STREQ(cellNode(sheet, "B4").child_value("v"), "9");
  EXPECT_STREQ(cellNode(sheet, "B5").child_value("f"), "A5*2+$C$1+Sheet2!A5");
  EXPECT_STREQ(cellNode(sheet, "B5").attribute("s").value(), "1");
  EXPECT_STREQ(cellNode(sheet, "D2").child("f").attribute("ref").value(), "D2:D3");
}

TEST(XlsxWriting, NothingChangedMeansNothingToSave) {
  Book book;
  book.bookViews = "<bookViews><workbookView activeTab=\"1\"/></bookViews>";
  book.sheets[1] =
      sheetXml("<row r=\"45\"><c r=\"A45\"><v>0</v></c></row>",
               "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"><selection activeCell=\"A1\" "
               "sqref=\"A1\"/></sheetView></sheetViews>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.write(2, 45, 1, Integer(0));           // the value it holds
  doc.clearContents(2, parseA1("a7:ai22"));  // nothing there
  doc.select(2, 1, 1);                       // already selected
  doc.show(2);                               // already shown
  EXPECT_FALSE(doc.changed());
  doc.write(2, 45, 1, Integer(1));
  EXPECT_TRUE(doc.changed());
}

TEST(XlsxWriting, ShowAndSelectSetTheWindowOfTheWorkbook) {
  Book book;
  book.bookViews = "<bookViews><workbookView xWindow=\"0\" activeTab=\"0\" firstSheet=\"2\"/></bookViews>";
  book.sheets[0] = sheetXml("", "<sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>");
  book.sheets[1] = sheetXml("", "<sheetPr/><dimension ref=\"A1\"/><sheetFormatPr defaultRowHeight=\"15\"/>");
  book.sheets[2] =
      sheetXml("",
               "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"10\" topLeftCell=\"A11\" "
               "activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\" activeCell=\"C40\" "
               "sqref=\"C40\"/></sheetView></sheetViews>");
  XlsxDocument doc(zipBytes(book.build()), "test.xlsx");
  doc.show(2);
  doc.select(2, 1, 1);
  doc.select(3, 1, 1);
  std::string bytes = doc.render();

  pugi::xml_document workbook, s1, s2, s3;
  ASSERT_TRUE(workbook.load_string(partOf(bytes, "xl/workbook.xml").c_str()));
  pugi::xml_node view = workbook.select_node("//workbookView").node();
  EXPECT_STREQ(view.attribute("activeTab").value(), "1");
  EXPECT_STREQ(view.attribute("firstSheet").value(), "1");
  ASSERT_TRUE(s1.load_string(sheetPart(bytes, 1).c_str()));
  EXPECT_FALSE(s1.select_node("//sheetView").node().attribute("tabSelected"));
  std::string xml2 = sheetPart(bytes, 2);
  ASSERT_TRUE(s2.load_string(xml2.c_str()));
  EXPECT_STREQ(s2.select_node("//sheetView").node().attribute("tabSelected").value(), "1");
  EXPECT_STREQ(s2.select_node("//selection").node().attribute("activeCell").value(), "A1");
  // sheetViews stands where the schema puts it: after dimension, before sheetFormatPr.
  EXPECT_LT(xml2.find("<dimension"), xml2.find("<sheetViews"));
  EXPECT_LT(xml2.find("<sheetViews"), xml2.find("<sheetFormatPr"));
  ASSERT_TRUE(s3.load_string(sheetPart(bytes, 3).c_str()));
  EXPECT_EQ(s3.select_nodes("//selection").size(), 1u);
  pugi::xml_node selection = s3.select_node("//selection").node();
  EXPECT_STREQ(selection.attribute("pane").value(), "bottomLeft");
  EXPECT_STREQ(selection.attribute("sqref").value(), "A1");
}

TEST(XlsxWriting, RedrawMakesDependentFormulasRecalculate) {
  Book book;
  book.sheets[0] =
      sheetXml("<row r=\"11\"><c r=\"C11\"><f>C7*C8</f><v>12</v></c><c r=\"D11\"><f>Sheet3!B19</f><v>5</v></c></row>");
  book.sheets[1] = sheetXml("<row r=\"7\"><c r=\"A7\"><v>1</v></c><c r=\"B7\"><f>A7*2</f><v>2</v></c></row>");
  book.sheets[2] = sheetXml(
      "<row r=\"2\"><c r=\"A2\" t=\"str\"><f>Sheet2!A7&amp;\"\"</f><v>1</v></c>"
      "<c r=\"B2\"><f t=\"shared\" ref=\"B2:B3\" si=\"0\">Sheet2!B7+1</f><v>3</v></c><c "
      "r=\"C2\"><f>1+1</f><v>2</v></c></row>"
      "<row r=\"3\"><c r=\"B3\"><f t=\"shared\" si=\"0\"/><v>1</v></c></row>");
  book.calcChain =
      "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"B7\" "
      "i=\"2\"/></calcChain>";
  Parts parts = book.build();

  // Writing a cell asks for the same recalculation as "Redraw".
  for (bool redraw : {false, true}) {
    SCOPED_TRACE(redraw ? "with Redraw" : "write only");
    XlsxDocument doc(zipBytes(parts), "test.xlsx");
    doc.write(2, 7, 1, Integer(10));
    if (redraw) doc.requestRecalculation();
    std::string bytes = doc.render();

    auto entries = readZip(bytes);
    EXPECT_FALSE(findEntry(entries, "xl/calcChain.xml"));
    EXPECT_EQ(partOf(bytes, "[Content_Types].xml").find("calcChain"), std::string::npos);
    EXPECT_EQ(partOf(bytes, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    EXPECT_NE(partOf(bytes, "xl/_rels/workbook.xml.rels").find("styles.xml"), std::string::npos);
    pugi::xml_document workbook;
    ASSERT_TRUE(workbook.load_string(partOf(bytes, "xl/workbook.xml").c_str()));
    EXPECT_STREQ(workbook.select_node("//calcPr").node().attribute("fullCalcOnLoad").value(), "1");

    pugi::xml_document s1, s2, s3;
    ASSERT_TRUE(s1.load_string(sheetPart(bytes, 1).c_str()));
    ASSERT_TRUE(s2.load_string(sheetPart(bytes, 2).c_str()));
    ASSERT_TRUE(s3.load_string(sheetPart(bytes, 3).c_str()));
    EXPECT_STREQ(cellNode(s1, "C11").child_value("v"), "12");  // only its own sheet, which was not written
    EXPECT_FALSE(cellNode(s1, "D11").child("v"));
    EXPECT_STREQ(cellNode(s1, "D11").child_value("f"), "Sheet3!B19");
    EXPECT_FALSE(cellNode(s2, "B7").child("v"));
    EXPECT_FALSE(cellNode(s3, "A2").child("v"));
    EXPECT_FALSE(cellNode(s3, "A2").attribute("t"));
    EXPECT_FALSE(cellNode(s3, "B2").child("v"));
    EXPECT_STREQ(cellNode(s3, "B2").child("f").attribute("ref").value(), "B2:B3");
    EXPECT_FALSE(cellNode(s3, "B3").child("v"));  // shares the formula of B2
    EXPECT_STREQ(cellNode(s3, "C2").child_value("v"), "2");

    XlsxDocument again(bytes, "test.xlsx");
    EXPECT_EQ(again.readNumber(1, 11, 3), 12);
    EXPECT_THROW(again.readNumber(1, 11, 4), Fault);
  }

  // "Redraw" alone still marks the formulas that reach other sheets.
  XlsxDocument doc(zipBytes(parts), "test.xlsx");
  doc.requestRecalculation();
  ASSERT_TRUE(doc.changed());
  std::string bytes = doc.render();
  pugi::xml_document s2, s3;
  ASSERT_TRUE(s2.load_string(sheetPart(bytes, 2).c_str()));
  ASSERT_TRUE(s3.load_string(sheetPart(bytes, 3).c_str()));
  EXPECT_STREQ(cellNode(s2, "B7").child_value("v"), "2");
  EXPECT_FALSE(cellNode(s3, "B3").child("v"));
}

}  // namespace
}  // namespace vk::xlsx

// The engine on workbooks other programs wrote (openpyxl, Python's zipfile,
// LibreOffice, libxlsxwriter with Zip64) and on the template and sample
// workbooks: what they hold reads right, and an edit keeps every other entry
// as it was.

#include <gtest/gtest.h>

#include <xlsxwriter.h>
#include <pugixml.hpp>

#include <filesystem>

#include "module1/Fault.h"
#include "tests/workbook/xlsx/EditedCopy.h"
#include "workbook/xlsx/XlsxEngine.h"
#include "workbook/xlsx/sheet/CellRef.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;

const char* kForeign[] = {"openpyxl-rich-text.xlsx",
                          "openpyxl-inline-strings.xlsx",
                          "openpyxl-cached-formulas.xlsx",
                          "openpyxl-numbers-as-text.xlsx",
                          "zip64-local-headers.xlsx",
                          "zip64.xlsx",
                          "libreoffice.xlsx"};

std::string foreign(const std::string& name) { return sourcePath("tests/data/foreign/" + name); }

class ForeignWorkbooks : public ::testing::TestWithParam<const char*> {
 protected:
  TempDir dir;
};

TEST_P(ForeignWorkbooks, ReadTheSmallTestAsItIsWritten) {
  std::string path = dir.file(GetParam());
  writeFile(path, readFile(foreign(GetParam())));
  XlsxEngine engine;
  auto book = engine.bind(path);
  const double conditions[] = {8, 2, 18.5, 29.75, 1200, 45};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(book->readNumber(1, 7 + i, 3), conditions[i]) << "C" << 7 + i;
  EXPECT_EQ(book->readNumber(1, 7, 7), 0);
  EXPECT_EQ(book->readNumber(1, 14, 7), 7);
  EXPECT_EQ(book->readNumber(1, 7, 8), 0.62);
  EXPECT_EQ(book->readNumber(1, 8, 8), 3.31);
  EXPECT_EQ(book->readNumber(1, 14, 8), 9.08);
  EXPECT_EQ(book->readNumber(1, 7, 9), 0.88);
  EXPECT_EQ(book->readNumber(1, 14, 9), 8.64);
  EXPECT_EQ(book->readNumber(1, 13, 3), 0);
  EXPECT_EQ(book->readNumber(1, 7, 14), 0);
  EXPECT_EQ(book->readNumber(3, 25, 11), 0);
  EXPECT_EQ(book->readNumber(2, 45, 1), 0);
  try {
    book->readNumber(1, 7, 1);
    ADD_FAILURE() << "A7 is a label";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::TypeMismatch);
    EXPECT_NE(std::string(f.what()).find("\"Readings per data set\""), std::string::npos) << f.what();
  }
}

TEST_P(ForeignWorkbooks, EditedLikeTheCommandsKeepEverythingElse) {
  EditedCopy copy = editLikeTheCommands(dir, foreign(GetParam()), GetParam());
  const std::string saved = readFile(copy.path);
  EXPECT_FALSE(hasZip64Records(saved));
  auto before = readZip(copy.original);
  auto after = readZip(saved);
  for (const Entry& e : before) {
    const Entry* now = findEntry(after, e.name);
    if (mayChange(e.name)) continue;
    ASSERT_TRUE(now) << e.name;
    EXPECT_TRUE(now->raw == e.raw && now->crc == e.crc && now->method == e.method) << e.name << " changed";
  }
  XlsxEngine engine;
  auto book = engine.bind(copy.path);
  for (const auto& [key, value] : copy.written) {
    auto [sheet, row, column] = key;
    EXPECT_EQ(book->readNumber(sheet, row, column), value.asDouble()) << sheet << " " << cellRef(row, column);
  }
  EXPECT_EQ(book->readNumber(1, 11, 3), 1200);
  EXPECT_EQ(book->readNumber(1, 14, 9), 8.64);
}

INSTANTIATE_TEST_SUITE_P(Files, ForeignWorkbooks, ::testing::ValuesIn(kForeign), [](const auto& info) {
  std::string name = info.param;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
});

TEST(ForeignWorkbookDetails, RichTextInlineStringsAndCachedFormulas) {
  TempDir dir;
  XlsxEngine engine;
  for (const char* name : {"openpyxl-rich-text.xlsx", "openpyxl-cached-formulas.xlsx"})
    writeFile(dir.file(name), readFile(foreign(name)));
  auto formulas = engine.bind(dir.file("openpyxl-cached-formulas.xlsx"));
  EXPECT_EQ(formulas->readNumber(1, 4, 5), 1);         // E4, TRUE
  EXPECT_EQ(formulas->readNumber(3, 20, 2), 5);        // B20's stale cached value, as stored
  EXPECT_THROW(formulas->readNumber(1, 3, 5), Fault);  // E3, "Probes: 2"

  // Writing the summary: B20 must be recalculated, and the chain goes.
  formulas->write(3, 13, 1, Integer(1));
  formulas->commit();
  auto entries = readZip(readFile(dir.file("openpyxl-cached-formulas.xlsx")));
  EXPECT_FALSE(findEntry(entries, "xl/calcChain.xml"));
  EXPECT_EQ(findEntry(entries, "xl/_rels/workbook.xml.rels")->data.find("rIdCalc"), std::string::npos);
  EXPECT_EQ(findEntry(entries, "[Content_Types].xml")->data.find("calcChain"), std::string::npos);
  EXPECT_THROW(formulas->readNumber(3, 20, 2), Fault);
  // Formulas of sheet 1 refer to sheet 1 only: their results stay readable.
  EXPECT_EQ(formulas->readNumber(1, 7, 3), 8);
  EXPECT_EQ(formulas->readNumber(1, 14, 7), 7);
}

TEST(ForeignWorkbookDetails, LibxlsxwriterWithZip64AndDataDescriptors) {
  TempDir dir;
  std::string path = dir.file("writer.xlsx");
  lxw_workbook_options options = {};
  options.use_zip64 = LXW_TRUE;
  lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
  lxw_format* bold = workbook_add_format(wb);
  format_set_bold(bold);
  for (int s = 0; s < 3; ++s) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    worksheet_write_string(ws, 0, 0, "Heading", bold);
    worksheet_write_number(ws, 6, 2, 8 + s, nullptr);
    worksheet_write_string(ws, 7, 2, "12.5", nullptr);
    worksheet_write_formula_num(ws, 8, 2, "=C7*2", nullptr, 2 * (8 + s));
    worksheet_write_boolean(ws, 9, 2, 1, nullptr);
  }
  lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_SCATTER);
  chart_add_series(chart, "=Sheet3!$J$45:$J$50", "=Sheet3!$K$45:$K$50");
  worksheet_insert_chart(workbook_get_worksheet_by_name(wb, "Sheet3"), 2, 5, chart);
  ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
  const std::string original = readFile(path);
  ASSERT_TRUE(hasZip64Records(original));

  XlsxEngine engine;
  auto book = engine.bind(path);
  EXPECT_EQ(book->readNumber(2, 7, 3), 9);
  EXPECT_EQ(book->readNumber(2, 8, 3), 12.5);
  EXPECT_EQ(book->readNumber(2, 9, 3), 18);
  EXPECT_EQ(book->readNumber(2, 10, 3), 1);
  for (int row = 45; row <= 50; ++row) {
    book->write(3, row, 10, Integer::checked(row - 44));
    book->write(3, row, 11, Variant::single(float(row) / 9));
  }
  book->commit();
  const std::string saved = readFile(path);
  EXPECT_FALSE(hasZip64Records(saved));
  auto before = readZip(original);
  auto after = readZip(saved);
  for (const Entry& e : before) {
    if (mayChange(e.name)) continue;
    EXPECT_TRUE(findEntry(after, e.name)->raw == e.raw) << e.name;
  }
  XlsxEngine fresh;
  EXPECT_EQ(fresh.bind(path)->readNumber(3, 50, 11), double(50.0f / 9));
}

TEST(TemplateWorkbooks, TheTemplateAndTheSampleTakeTheCommandsEdits) {
  for (const char* name : {"templates/template.xlsx", "templates/sample.xlsx"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(std::filesystem::exists(sourcePath(name))) << name << " is missing";
    TempDir dir;
    EditedCopy copy = editLikeTheCommands(dir, sourcePath(name), "book.xlsx");
    auto before = readZip(copy.original);
    auto after = readZip(readFile(copy.path));
    for (const Entry& e : before) {
      if (mayChange(e.name)) continue;
      EXPECT_TRUE(findEntry(after, e.name) && findEntry(after, e.name)->raw == e.raw) << e.name;
    }
    XlsxEngine engine;
    auto book = engine.bind(copy.path);
    for (const auto& [key, value] : copy.written) {
      auto [sheet, row, column] = key;
      EXPECT_EQ(book->readNumber(sheet, row, column), value.asDouble());
    }
  }
}

}  // namespace
}  // namespace vk::xlsx

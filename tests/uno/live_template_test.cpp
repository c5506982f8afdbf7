#include <gtest/gtest.h>

#include <com/sun/star/chart2/data/XDataSource.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XEmbeddedObjectSupplier.hpp>
#include <com/sun/star/sheet/XArrayFormulaRange.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeFormula.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XTableChartsSupplier.hpp>

#include <filesystem>

#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/CellMap.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/OfficeText.h"
#include "workbook/uno/Redraw.h"

namespace vk::test {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
namespace fs = std::filesystem;

const std::string kTemplateXlsx = VK_SOURCE_DIR "/templates/template.xlsx";
const std::string kTemplateOds = VK_SOURCE_DIR "/templates/live/template.ods";

Reference<css::container::XIndexAccess> sheetsOf(const Document& doc) {
  return Reference<css::container::XIndexAccess>(
      Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
}

// Every cell of the sheet's used area as the user would type it (formulas
// as formulas), for comparing two workbooks.
std::vector<std::vector<std::string>> cellsOf(const Document& doc, int index) {
  Reference<css::sheet::XSpreadsheet> sheet(sheetsOf(doc)->getByIndex(index), UNO_QUERY_THROW);
  Reference<css::sheet::XSheetCellCursor> cursor = sheet->createCursor();
  Reference<css::sheet::XUsedAreaCursor>(cursor, UNO_QUERY_THROW)->gotoEndOfUsedArea(false);
  auto end = Reference<css::sheet::XCellRangeAddressable>(cursor, UNO_QUERY_THROW)->getRangeAddress();
  Reference<css::sheet::XCellRangeFormula> all(sheet->getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow),
                                               UNO_QUERY_THROW);
  std::vector<std::vector<std::string>> cells;
  for (const auto& row : all->getFormulaArray()) {
    cells.emplace_back();
    for (const auto& text : row) cells.back().push_back(fromOffice(text));
  }
  return cells;
}

// Where each chart of sheet 3 draws its values from, e.g. "$Results.$L$45:$L$47".
std::vector<std::string> chartRanges(const Document& doc) {
  Reference<css::table::XTableChartsSupplier> sheet(sheetsOf(doc)->getByIndex(2), UNO_QUERY_THROW);
  Reference<css::container::XIndexAccess> charts(sheet->getCharts(), UNO_QUERY_THROW);
  std::vector<std::string> ranges;
  for (sal_Int32 c = 0; c < charts->getCount(); ++c) {
    Reference<css::document::XEmbeddedObjectSupplier> chart(charts->getByIndex(c), UNO_QUERY_THROW);
    Reference<css::chart2::data::XDataSource> data(chart->getEmbeddedObject(), UNO_QUERY_THROW);
    for (const auto& sequence : data->getDataSequences())
      ranges.push_back(fromOffice(sequence->getValues()->getSourceRangeRepresentation()));
  }
  return ranges;
}

class LiveTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    // A copy: loading the committed file would put a lock file beside it.
    copy_ = TestOffice::get().folder() + "/live-template.ods";
    fs::copy_file(kTemplateOds, copy_, fs::copy_options::overwrite_existing);
  }
  void TearDown() override { engine->closeDocumentsLoadedHere(); }
  OfficeConnection& office() { return TestOffice::get().connection(); }

  std::string copy_;
  std::shared_ptr<LibreOfficeEngine> engine = loadLibreOfficeEngine(TestOffice::get().engineOptions());
};

TEST_F(LiveTemplate, HoldsTheTemplatesCellsAndItsOwnRedraw) {
  auto book = engine->bind(copy_);
  Document ods = dynamic_cast<CalcWorkbook&>(*book).document();
  auto macro = findDocumentMacro(ods, "Redraw");
  ASSERT_TRUE(macro.has_value());
  EXPECT_EQ(fromOffice(*macro), "vnd.sun.star.script:Standard.Charts.Redraw?language=Basic&location=document");

  // The .xlsx template is made by its own generator (templates/) and committed.
  ASSERT_TRUE(fs::exists(kTemplateXlsx)) << kTemplateXlsx << " is missing";
  Document xlsx = openAsUser(office(), kTemplateXlsx);
  ASSERT_EQ(sheetsOf(ods)->getCount(), sheetsOf(xlsx)->getCount());
  for (int s = 0; s < sheetsOf(xlsx)->getCount(); ++s)
    EXPECT_EQ(cellsOf(ods, s), cellsOf(xlsx, s)) << "sheet " << s + 1;
  EXPECT_EQ(chartRanges(ods).size(), 6u * 4u);  // per set: measured and fitted, each against time
  closeDocument(xlsx);
}

TEST_F(LiveTemplate, RedrawPointsEachChartAtTheKeptReadings) {
  auto book = engine->bind(copy_);
  Document ods = dynamic_cast<CalcWorkbook&>(*book).document();
  const int results = cells::kResultsSheet;
  for (std::int16_t k = 1; k <= 3; ++k)
    for (int c = 0; c < 5; ++c) book->write(results, cells::pointRow(k), cells::resultColumn(2) + c, Integer(k));
  book->write(results, cells::kKeptCountRow, cells::testColumn(2), Integer(3));
  book->runMacro("Redraw");

  // Set 2's block starts in column Q: time in R, measured in S, fitted in T.
  std::vector<std::string> ranges = chartRanges(ods);
  ASSERT_EQ(ranges.size(), 24u);
  for (const std::string& range : ranges) {
    const bool set2 = range.find("$R$") != std::string::npos || range.find("$S$") != std::string::npos ||
                      range.find("$T$") != std::string::npos;
    // Set 2 keeps three readings (rows 45 to 47); the others none, and keep one empty row.
    EXPECT_EQ(range.substr(range.rfind('$')), set2 ? "$47" : "$45") << range;
  }
}

}  // namespace
}  // namespace vk::test

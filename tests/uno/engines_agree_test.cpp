// The whole analysis through the batch tool under both engines: the cells
// the embedded engine saves and the cells LibreOffice holds must agree in
// value and type everywhere on the sheets the analysis writes.
#include <gtest/gtest.h>

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

#include <filesystem>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "tests/support/WorkedExample.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/OfficeText.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::test {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
namespace fs = std::filesystem;

// Two probes of thirteen readings each, the first the worked example; the
// conditions in C7:C12.
void writeTest(const Document& doc) {
  const double conditions[] = {13, 2, 15, 29.5, 1000, 50};
  for (int k = 0; k < 6; ++k) setNumber(doc, 1, 7 + k, 3, conditions[k]);
  const double probe2[] = {0.91, 2.5, 3.8, 4.9, 5.7, 6.3, 6.8, 7.1, 7.4, 7.6, 7.75, 7.85, 7.9};
  for (int p = 0; p < 13; ++p) {
    setNumber(doc, 1, 7 + p, 7, worked::kTimes[std::size_t(p)]);
    setNumber(doc, 1, 7 + p, 8, worked::kReadings[std::size_t(p)]);
    setNumber(doc, 1, 7 + p, 9, probe2[p]);
  }
  setFormula(doc, 3, 43, 13, "=COUNT(J45:J700)");  // a template formula beside the written cells
}

// What the sheet holds in A1:AX760: a number, a text, or nothing, as LibreOffice reports it.
css::uno::Sequence<css::uno::Sequence<css::uno::Any>> contents(const Document& doc, int sheet) {
  Reference<css::container::XIndexAccess> sheets(
      Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
  Reference<css::sheet::XSpreadsheet> s(sheets->getByIndex(sheet - 1), UNO_QUERY_THROW);
  return Reference<css::sheet::XCellRangeData>(s->getCellRangeByPosition(0, 0, 49, 759), UNO_QUERY_THROW)
      ->getDataArray();
}

TEST(BothEngines, GiveTheSameCellsAndTypesForTheSameWorkbook) {
  OfficeConnection& office = TestOffice::get().connection();
  const std::string folder = TestOffice::get().folder();
  const std::string embedded = folder + "/agree-embedded.xlsx", live = folder + "/agree-live.xlsx";
  Document input = newWorkbook(office);
  writeTest(input);
  storeAndClose(input, embedded);
  fs::copy_file(embedded, live, fs::copy_options::overwrite_existing);

  std::ostringstream out, err;
  BatchOptions options;
  options.workbook = embedded;
  ASSERT_EQ(RunBatch(options, std::make_shared<XlsxEngine>(), out, err), 0) << err.str();

  LibreOfficeOptions liveOptions = TestOffice::get().engineOptions();
  liveOptions.loadHidden = true;
  liveOptions.asTransaction = true;
  auto engine = loadLibreOfficeEngine(liveOptions);
  options.workbook = live;
  options.engine = "libreoffice";
  ASSERT_EQ(RunBatch(options, engine, out, err), 0) << err.str();

  Document fromEmbedded = openAsUser(office, embedded);
  {
    Document fromLive = dynamic_cast<CalcWorkbook&>(*engine->bind(live)).document();
    for (int sheet = 1; sheet <= 3; ++sheet) {
      auto a = contents(fromEmbedded, sheet), b = contents(fromLive, sheet);
      int differences = 0;
      for (sal_Int32 r = 0; r < a.getLength(); ++r)
        for (sal_Int32 c = 0; c < a[r].getLength(); ++c)
          if (a[r][c] != b[r][c] && ++differences <= 5)
            ADD_FAILURE() << "sheet " << sheet << " row " << r + 1 << " column " << c + 1 << ": embedded "
                          << fromOffice(a[r][c].getValueTypeName()) << ", LibreOffice "
                          << fromOffice(b[r][c].getValueTypeName());
      EXPECT_EQ(differences, 0) << "sheet " << sheet;
    }
    // The analysis wrote something to compare: set 2's number in the summary.
    EXPECT_EQ(cell(fromLive, 3, 14, 1)->getValue(), 2.0);
  }
  closeDocument(fromEmbedded);

  // As one transaction, the live engine stored the workbook when the analysis
  // committed; at the end it closes what it loaded.
  engine->finishUnattended();
  EXPECT_FALSE(isOpen(office, live));
  Document stored = openAsUser(office, live);
  EXPECT_EQ(cell(stored, 3, 14, 1)->getValue(), 2.0);
  closeDocument(stored);
}

}  // namespace
}  // namespace vk::test

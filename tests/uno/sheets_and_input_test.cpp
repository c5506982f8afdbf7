// The LibreOffice engine against the same generated workbooks as the
// embedded one: the kinds of cell values, the defined names and hidden
// sheets, the same analysis with the tabs moved, the same refusals in the
// same words, and LibreOffice's own failures told in plain words.

#include <gtest/gtest.h>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "module1/Fault.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/CellMap.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/OfficeFault.h"
#include "workbook/uno/OfficeText.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::test {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;
namespace fs = std::filesystem;
namespace c = cells;

const fs::path kBooks = fs::path(VK_SOURCE_DIR) / "tests/data/e2e";

Reference<css::beans::XPropertySet> sheetProperties(const Document& doc, int sheet) {
  Reference<css::container::XIndexAccess> sheets(
      Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
  return Reference<css::beans::XPropertySet>(sheets->getByIndex(sheet - 1), UNO_QUERY_THROW);
}

std::string activeSheetName(const Document& doc) {
  Reference<css::sheet::XSpreadsheetView> view(doc->getCurrentController(), UNO_QUERY_THROW);
  return fromOffice(Reference<css::container::XNamed>(view->getActiveSheet(), UNO_QUERY_THROW)->getName());
}

// Gives a cell one of LibreOffice's standard formats of a type.
void setFormatType(const Document& doc, int sheet, int row, int column, sal_Int16 type) {
  Reference<css::util::XNumberFormatTypes> types(
      Reference<css::util::XNumberFormatsSupplier>(doc, UNO_QUERY_THROW)->getNumberFormats(), UNO_QUERY_THROW);
  const sal_Int32 key = types->getStandardFormat(type, css::lang::Locale());
  Reference<css::beans::XPropertySet>(cell(doc, sheet, row, column), UNO_QUERY_THROW)
      ->setPropertyValue("NumberFormat", css::uno::Any(key));
}

class LiveSheets : public ::testing::Test {
 protected:
  OfficeConnection& office() { return TestOffice::get().connection(); }
  // A copy of a generated workbook in a folder of this test's own.
  std::string copyOf(const std::string& name, const std::string& folder = "live") {
    const fs::path dir = fs::path(TestOffice::get().folder()) / folder;
    fs::create_directories(dir);
    const fs::path copy = dir / name;
    fs::copy_file(kBooks / name, copy, fs::copy_options::overwrite_existing);
    return copy.string();
  }
  Document documentOf(Workbook& book) { return dynamic_cast<CalcWorkbook&>(book).document(); }
  void TearDown() override { engine->closeDocumentsLoadedHere(); }

  LibreOfficeOptions hidden() {
    LibreOfficeOptions options = TestOffice::get().engineOptions();
    options.loadHidden = true;
    return options;
  }
  std::shared_ptr<LibreOfficeEngine> engine = loadLibreOfficeEngine(hidden());
};

// 1. The sheets.

TEST_F(LiveSheets, KindsOfCellValues) {
  Document doc = newWorkbook(office());
  setNumber(doc, 1, 1, 1, 5);
  setText(doc, 1, 1, 2, "five");
  setFormula(doc, 1, 1, 3, "=1/0");
  setFormula(doc, 1, 1, 4, "=TRUE()");
  setNumber(doc, 1, 1, 5, 1);
  setFormatType(doc, 1, 1, 5, css::util::NumberFormat::LOGICAL);  // TRUE typed into a cell
  setNumber(doc, 1, 1, 6, 45658);
  setFormatType(doc, 1, 1, 6, css::util::NumberFormat::DATE);
  setNumber(doc, 1, 1, 7, 0.5);
  setFormatType(doc, 1, 1, 7, css::util::NumberFormat::TIME);
  setFormula(doc, 1, 1, 8, "=\"x\"");
  // Down one column, as the readings stand: kinds are read a block of rows at a time.
  setNumber(doc, 1, 3, 1, 45658);
  setFormatType(doc, 1, 3, 1, css::util::NumberFormat::DATETIME);
  setNumber(doc, 1, 4, 1, 0);
  setFormatType(doc, 1, 4, 1, css::util::NumberFormat::LOGICAL);
  setText(doc, 1, 6, 1, "7");
  setNumber(doc, 1, 1030, 1, 2);  // in the next block
  const std::string path = TestOffice::get().folder() + "/kinds.ods";
  storeAndClose(doc, path);

  auto book = engine->bind(path);
  const CellKind expected[] = {CellKind::Number,  CellKind::Text,     CellKind::Error,    CellKind::Boolean,
                               CellKind::Boolean, CellKind::DateTime, CellKind::DateTime, CellKind::Text};
  for (int column = 1; column <= 8; ++column) EXPECT_EQ(book->cellKind(1, 1, column), expected[column - 1]) << column;
  const CellKind column[] = {CellKind::Empty, CellKind::DateTime, CellKind::Boolean, CellKind::Empty, CellKind::Text};
  for (int row = 2; row <= 6; ++row) EXPECT_EQ(book->cellKind(1, row, 1), column[row - 2]) << row;
  EXPECT_EQ(book->cellKind(1, 1030, 1), CellKind::Number);
  // A write is seen by the next look.
  book->write(1, 6, 1, Variant::dbl(3));
  EXPECT_EQ(book->cellKind(1, 6, 1), CellKind::Number);

  // The same kinds as the embedded engine gives for the generated workbooks.
  auto logical = engine->bind(copyOf("logical-count.xlsx"));
  EXPECT_EQ(logical->cellKind(c::kTestSheet, c::kNumSetsRow, c::kConditionColumn), CellKind::Boolean);
  EXPECT_EQ(logical->cellKind(c::kTestSheet, c::kNumPointsRow, c::kConditionColumn), CellKind::Number);
  auto stamps = engine->bind(copyOf("date-times.xlsx"));
  EXPECT_EQ(stamps->cellKind(c::kTestSheet, c::readingRow(1), c::kTimeColumn), CellKind::DateTime);
  EXPECT_EQ(stamps->cellKind(c::kTestSheet, c::readingRow(1), c::concColumn(1)), CellKind::Number);
}

TEST_F(LiveSheets, DefinedNamesAndTabs) {
  auto book = engine->bind(copyOf("tabs-reordered.xlsx"));
  auto test = book->definedName("VK_Test");
  ASSERT_TRUE(test);
  EXPECT_EQ(test->sheet, 2);
  EXPECT_EQ(test->range.firstRow, 7);
  EXPECT_EQ(test->range.lastRow, 12);
  EXPECT_EQ(test->range.firstColumn, 3);
  EXPECT_EQ(book->definedName("VK_Results")->sheet, 1);
  // The submergence cell's name, on the test sheet's tab.
  auto submergence = book->definedName("DiffuserSubmergence");
  ASSERT_TRUE(submergence);
  EXPECT_EQ(submergence->sheet, 2);
  EXPECT_EQ(submergence->range.firstRow, 13);
  EXPECT_EQ(submergence->range.lastColumn, 3);
  EXPECT_FALSE(book->definedName("NoSuchName"));
  EXPECT_EQ(book->sheets().at(0).name, "Results");

  auto broken = engine->bind(copyOf("broken-name.xlsx"));
  ASSERT_TRUE(broken->definedName("VK_Results"));
  EXPECT_FALSE(broken->definedName("VK_Results")->refersToCells());
}

TEST_F(LiveSheets, ShowingAHiddenSheetLeavesItHiddenAndTheActiveSheetAsItWas) {
  auto book = engine->bind(copyOf("hidden-sheets.xlsx"));
  Document doc = documentOf(*book);
  EXPECT_TRUE(book->sheets().at(2).hidden);
  book->show(1);
  book->show(3);
  book->select(3, "a1");
  EXPECT_EQ(activeSheetName(doc), "Test");
  bool visible = true;
  sheetProperties(doc, 3)->getPropertyValue("IsVisible") >>= visible;
  EXPECT_FALSE(visible);
}

// Runs the batch tool on a copy of a generated workbook under one engine.
struct Outcome {
  int status;
  std::string err;
};
Outcome batch(const std::string& path, std::shared_ptr<WorkbookEngine> engine) {
  BatchOptions options;
  options.workbook = path;
  std::ostringstream out, err;
  const int status = RunBatch(options, std::move(engine), out, err);
  return {status, err.str()};
}

TEST_F(LiveSheets, TabsReorderedGiveTheSameAnalysis) {
  const std::string inOrder = copyOf("three-sets.xlsx"), reordered = copyOf("tabs-reordered.xlsx");
  auto live = loadLibreOfficeEngine(hidden());
  ASSERT_EQ(batch(inOrder, live).status, 0);
  ASSERT_EQ(batch(reordered, live).status, 0);
  // The analysed documents are still open, unsaved.
  Document a = documentOf(*live->bind(inOrder));
  Document b = documentOf(*live->bind(reordered));
  auto data = [](const Document& doc, int tab) {
    Reference<css::container::XIndexAccess> sheets(
        Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
    Reference<css::sheet::XSpreadsheet> s(sheets->getByIndex(tab - 1), UNO_QUERY_THROW);
    return Reference<css::sheet::XCellRangeData>(s->getCellRangeByPosition(0, 0, 49, 99), UNO_QUERY_THROW)
        ->getDataArray();
  };
  const int tabOf[] = {0, 2, 3, 1};
  for (int sheet = 1; sheet <= 3; ++sheet) EXPECT_TRUE(data(a, sheet) == data(b, tabOf[sheet])) << sheet;
  live->closeDocumentsLoadedHere();
}

// 2. The same refusals in the same words as the embedded engine.

TEST_F(LiveSheets, InputThatCannotBeATestIsRefusedInTheSameWords) {
  for (const char* name : {"blank-condition.xlsx", "blank-reading.xlsx", "logical-count.xlsx", "date-times.xlsx",
                           "fractional-count.xlsx", "too-many-readings.xlsx", "hot-water.xlsx", "pressure-in-mmhg.xlsx",
                           "no-volume.xlsx", "negative-airflow.xlsx", "reading-in-percent.xlsx", "repeated-time.xlsx",
                           "tabs-reordered-unnamed.xlsx", "broken-name.xlsx", "names-on-one-sheet.xlsx"}) {
    SCOPED_TRACE(name);
    // The same path for both, so that messages naming the workbook agree.
    const std::string path = copyOf(name);
    const Outcome embedded = batch(path, std::make_shared<XlsxEngine>());
    fs::copy_file(kBooks / name, path, fs::copy_options::overwrite_existing);
    auto live = loadLibreOfficeEngine(hidden());
    const Outcome office = batch(path, live);
    live->closeDocumentsLoadedHere();
    EXPECT_EQ(embedded.status, 1);
    EXPECT_EQ(office.status, 1);
    EXPECT_EQ(office.err, embedded.err);
  }
}

// 3. LibreOffice's failures in plain words, its own terms in the detail.

TEST(OfficeText, WithoutSourcePlacesAndTypeNames) {
  EXPECT_EQ(plainOfficeText("at /build/libreoffice/sc/source/ui/unoobj/cellsuno.cxx:4962"), "");
  EXPECT_EQ(plainOfficeText("the range is too large at sc/source/ui/unoobj/cellsuno.cxx:4962"),
            "the range is too large");
  EXPECT_EQ(plainOfficeText("com.sun.star.document.NoSuchFilterRequest"), "");
  EXPECT_EQ(plainOfficeText("Unsupported URL <file:///x.xlsx>: \"type detection failed\"\nmore"),
            "Unsupported URL <file:///x.xlsx>: \"type detection failed\"");
}

TEST_F(LiveSheets, AFailureOfLibreOfficeIsToldInPlainWords) {
  auto book = engine->bind(copyOf("one-set.xlsx"));
  try {
    book->readNumber(1, 2000000, 1);  // past the last row of a Calc sheet
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    const std::string text = fault.what();
    EXPECT_EQ(text.find(".cxx"), std::string::npos) << text;
    EXPECT_EQ(text.find("com.sun.star"), std::string::npos) << text;
    EXPECT_NE(text.find("LibreOffice failed to read sheet 1, cell A2000000: "), std::string::npos) << text;
    EXPECT_NE(fault.detail().find("com.sun.star."), std::string::npos) << fault.detail();
  }
  // Bytes that are no document: LibreOffice asks which filter to use.
  const std::string noise = TestOffice::get().folder() + "/noise.xlsx";
  {
    std::ofstream out(noise, std::ios::binary);
    for (unsigned k = 0; k < 3000; ++k) out.put(char((k * 7919u + 13u) % 251u));
  }
  try {
    engine->bind(noise);
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(std::string(fault.what()), "Workbook error: LibreOffice could not open the workbook " + noise +
                                             ": LibreOffice does not recognise "
                                             "the file's format");
    EXPECT_EQ(fault.detail(), "com.sun.star.document.NoSuchFilterRequest");
  }
}

}  // namespace
}  // namespace vk::test

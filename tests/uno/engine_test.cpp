#include <gtest/gtest.h>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XCalculatable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/CommitAfter.h"
#include "module1/Fault.h"
#include "module1/Module1.h"
#include "tests/support/FaultOf.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeText.h"

namespace vk::test {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

std::string fileContents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class LiveWorkbook : public ::testing::Test {
 protected:
  OfficeConnection& office() { return TestOffice::get().connection(); }
  std::string file(const std::string& name) {
    return TestOffice::get().folder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
           name;
  }

  // Sheet 1 holds the kinds of cell a reading may meet; sheet 3 a formula
  // between two cells the analysis writes, and a coloured cell.
  std::string makeWorkbook(const std::string& name) {
    Document doc = newWorkbook(office());
    setNumber(doc, 1, 7, 3, 300);
    setText(doc, 1, 8, 3, " 6 ");
    setText(doc, 1, 9, 3, "warm");
    setFormula(doc, 1, 10, 3, "=1/0");
    setFormula(doc, 1, 11, 3, "=2*C7");
    setFormula(doc, 1, 12, 3, "=\"12.5\"");
    setFormula(doc, 3, 45, 12, "=J45*2");
    setNumber(doc, 3, 46, 10, 99);
    Reference<css::beans::XPropertySet>(cell(doc, 3, 45, 11), UNO_QUERY_THROW)
        ->setPropertyValue("CellBackColor", css::uno::Any(sal_Int32(0xFFCC00)));
    const std::string path = file(name);
    storeAndClose(doc, path);
    return path;
  }

  Document documentOf(Workbook& book) { return dynamic_cast<CalcWorkbook&>(book).document(); }

  std::shared_ptr<LibreOfficeEngine> engine = loadLibreOfficeEngine(TestOffice::get().engineOptions());
};

TEST_F(LiveWorkbook, ReadsNumbersAndFormulaResultsAndRejectsTextAndErrors) {
  auto book = engine->bind(makeWorkbook("read.xlsx"));
  EXPECT_EQ(book->readNumber(1, 7, 3), 300);
  EXPECT_EQ(book->readNumber(1, 8, 3), 6);      // a number written as text
  EXPECT_EQ(book->readNumber(1, 20, 3), 0);     // empty
  EXPECT_EQ(book->readNumber(1, 11, 3), 600);   // a formula's result
  EXPECT_EQ(book->readNumber(1, 12, 3), 12.5);  // a formula giving text that reads as a number

  FaultKind kind{};
  std::string text = faultOf([&] { book->readNumber(1, 9, 3); }, &kind);
  EXPECT_EQ(kind, FaultKind::TypeMismatch);
  EXPECT_TRUE(mentions(text, "sheet 1, cell C9") && mentions(text, "\"warm\"")) << text;
  text = faultOf([&] { book->readNumber(1, 10, 3); }, &kind);
  EXPECT_EQ(kind, FaultKind::TypeMismatch);
  EXPECT_TRUE(mentions(text, "sheet 1, cell C10") && mentions(text, "#DIV/0!")) << text;
  faultOf([&] { book->readNumber(4, 1, 1); }, &kind);
  EXPECT_EQ(kind, FaultKind::SubscriptOutOfRange);
  faultOf([&] { book->write(4, 1, 1, Integer(1)); }, &kind);
  EXPECT_EQ(kind, FaultKind::SubscriptOutOfRange);
}

TEST_F(LiveWorkbook, WritesKeepTheirExactValuesAndReachTheSheetBeforeItIsRead) {
  auto book = engine->bind(makeWorkbook("write.xlsx"));
  Document doc = documentOf(*book);
  book->write(3, 45, 10, Integer(7));
  book->write(3, 45, 11, Variant::single(0.1f));
  book->write(3, 45, 13, Variant::dbl(0.1));
  book->write(3, 46, 10, Variant());  // had 99
  book->write(2, 45, 1, Integer(-3));
  EXPECT_EQ(book->readNumber(2, 45, 1), -3);  // a read sees the writes to its sheet
  book->commit();

  EXPECT_EQ(cell(doc, 3, 45, 10)->getValue(), 7.0);
  EXPECT_EQ(cell(doc, 3, 45, 11)->getValue(), double(0.1f));
  EXPECT_EQ(cell(doc, 3, 45, 13)->getValue(), 0.1);
  EXPECT_TRUE(isEmptyCell(doc, 3, 46, 10));
  // The formula between the written cells is the template's and stays.
  EXPECT_EQ(formulaOf(doc, 3, 45, 12), "=J45*2");
  EXPECT_EQ(cell(doc, 3, 45, 12)->getValue(), 14.0);
}

TEST_F(LiveWorkbook, ClearingEmptiesValuesAndFormulasButKeepsFormats) {
  auto book = engine->bind(makeWorkbook("clear.xlsx"));
  Document doc = documentOf(*book);
  book->write(3, 45, 11, Variant::single(2.5f));
  book->write(3, 44, 11, Variant::single(1.5f));
  book->clearContents(3, "j45:aw700");
  book->write(3, 700, 49, Integer(1));  // written after the clear: stays
  book->commit();
  EXPECT_TRUE(isEmptyCell(doc, 3, 45, 11));
  EXPECT_TRUE(isEmptyCell(doc, 3, 45, 12));  // the formula too
  EXPECT_TRUE(isEmptyCell(doc, 3, 46, 10));
  EXPECT_EQ(cell(doc, 3, 44, 11)->getValue(), 1.5);
  EXPECT_EQ(cell(doc, 3, 700, 49)->getValue(), 1.0);
  sal_Int32 colour = 0;
  Reference<css::beans::XPropertySet>(cell(doc, 3, 45, 11), UNO_QUERY_THROW)->getPropertyValue("CellBackColor") >>=
      colour;
  EXPECT_EQ(colour, 0xFFCC00);
  EXPECT_THROW(book->clearContents(3, "45j"), Fault);
}

TEST_F(LiveWorkbook, AFaultThatEndsACommandLeavesWhatWasWrittenInTheSheet) {
  Module1 m;
  m.DataBook = engine->bind(makeWorkbook("fault.xlsx"));
  Document doc = documentOf(*m.DataBook);
  EXPECT_THROW(commitAfter(m,
                           [&] {
                             m.DataBook->write(3, 13, 1, Integer(1));
                             m.DataBook->write(3, 13, 2, Variant::single(3.25f));
                             throw Fault(FaultKind::DivisionByZero, "data set 1: the divisor is zero");
                           }),
               Fault);
  EXPECT_EQ(cell(doc, 3, 13, 1)->getValue(), 1.0);
  EXPECT_EQ(cell(doc, 3, 13, 2)->getValue(), 3.25);
}

TEST_F(LiveWorkbook, ShowActivatesTheSheetAndSelectSelectsTheCell) {
  auto book = engine->bind(makeWorkbook("show.xlsx"));
  Document doc = documentOf(*book);
  book->show(2);
  Reference<css::sheet::XSpreadsheetView> view(doc->getCurrentController(), UNO_QUERY_THROW);
  EXPECT_EQ(fromOffice(Reference<css::container::XNamed>(view->getActiveSheet(), UNO_QUERY_THROW)->getName()),
            "Sheet2");
  book->show(3);
  book->select(3, "b7");
  Reference<css::view::XSelectionSupplier> selection(doc->getCurrentController(), UNO_QUERY_THROW);
  auto address =
      Reference<css::sheet::XCellRangeAddressable>(selection->getSelection(), UNO_QUERY_THROW)->getRangeAddress();
  EXPECT_EQ(address.Sheet, 2);
  EXPECT_EQ(address.StartRow, 6);
  EXPECT_EQ(address.StartColumn, 1);
  FaultKind kind{};
  faultOf([&] { book->show(5); }, &kind);
  EXPECT_EQ(kind, FaultKind::SubscriptOutOfRange);
}

TEST_F(LiveWorkbook, UsesTheDocumentTheUserHasOpenAndLeavesItOpenAndUnsaved) {
  const std::string path = makeWorkbook("open.xlsx");
  const std::string onDisk = fileContents(path);
  Document users = openAsUser(office(), path);
  setNumber(users, 1, 9, 3, 21.5);  // an edit the user has not saved
  {
    auto own = loadLibreOfficeEngine(TestOffice::get().engineOptions());
    auto book = own->bind(path);
    EXPECT_EQ(book->readNumber(1, 9, 3), 21.5);
    EXPECT_EQ(own->bind(path), book);  // the same path, the same workbook
    book->write(3, 13, 1, Integer(1));
    book->commit();
    EXPECT_EQ(cell(users, 3, 13, 1)->getValue(), 1.0);
  }
  EXPECT_TRUE(isOpen(office(), path));
  EXPECT_TRUE(Reference<css::util::XModifiable>(users, UNO_QUERY_THROW)->isModified());
  EXPECT_EQ(fileContents(path), onDisk);
  closeDocument(users);
}

TEST_F(LiveWorkbook, ADocumentClosedByTheUserIsLoadedAgain) {
  const std::string path = makeWorkbook("closed.xlsx");
  auto book = engine->bind(path);
  closeDocument(documentOf(*book));
  auto again = engine->bind(path);
  EXPECT_NE(again, book);
  EXPECT_EQ(again->readNumber(1, 7, 3), 300);
  engine->closeDocumentsLoadedHere();
}

TEST_F(LiveWorkbook, RunsTheDocumentsOwnRedrawAfterTheWritesArrive) {
  Document doc = newWorkbook(office());
  // Not in the Standard library: the macro is found wherever it is.
  addBasicModule(doc, "Charts", "Drawing",
                 "Sub Redraw\n"
                 "  ThisComponent.Sheets(0).getCellByPosition(0, 0).Value = "
                 "ThisComponent.Sheets(2).getCellRangeByName(\"K43\").Value * 2\n"
                 "End Sub\n");
  const std::string path = file("macro.ods");
  storeAndClose(doc, path);

  auto book = engine->bind(path);
  book->write(3, 43, 11, Integer(7));
  book->runMacro("Redraw");
  EXPECT_EQ(book->readNumber(1, 1, 1), 14);
  FaultKind kind{};
  faultOf([&] { book->runMacro("Refresh"); }, &kind);
  EXPECT_EQ(kind, FaultKind::Workbook);
}

TEST_F(LiveWorkbook, WithoutARedrawOfItsOwnTheWorkbookIsRecalculated) {
  auto book = engine->bind(makeWorkbook("plain.xlsx"));
  Document doc = documentOf(*book);
  Reference<css::sheet::XCalculatable>(doc, UNO_QUERY_THROW)->enableAutomaticCalculation(false);
  book->write(3, 45, 10, Integer(5));
  book->commit();
  EXPECT_EQ(book->readNumber(3, 45, 12), 0);  // stale: automatic calculation is off
  book->runMacro("Redraw");
  EXPECT_EQ(book->readNumber(3, 45, 12), 10);
  const std::string other = faultOf([&] { book->runMacro("Refresh"); });
  EXPECT_TRUE(mentions(other, "no macro \"Refresh\"")) << other;
}

TEST_F(LiveWorkbook, AMissingFileIsAFaultNamingIt) {
  const std::string path = file("missing.xlsx");
  FaultKind kind{};
  const std::string missing = faultOf([&] { engine->bind(path); }, &kind);
  EXPECT_EQ(kind, FaultKind::Workbook);
  EXPECT_TRUE(mentions(missing, path) && mentions(missing, "does not exist")) << missing;
}

TEST_F(LiveWorkbook, ALockedFileIsAFaultInsteadOfAQuestion) {
  const std::string path = makeWorkbook("locked.xlsx");
  const std::filesystem::path p(path);
  std::ofstream(p.parent_path() / (".~lock." + p.filename().string() + "#"))
      << "Someone Else,someone,otherhost,01.01.2024 10:00,file:///home/someone/.config/libreoffice/4;";
  FaultKind kind{};
  const std::string locked = faultOf([&] { engine->bind(path); }, &kind);
  EXPECT_EQ(kind, FaultKind::Workbook);
  EXPECT_TRUE(mentions(locked, path) && mentions(locked, "locked for editing by Someone Else")) << locked;
  EXPECT_FALSE(isOpen(office(), path));
}

// LibreOffice cannot write them: refused before anything is written. A
// read-only file is not even loaded; a document the user opened read-only
// stays open as it is.
TEST_F(LiveWorkbook, AReadOnlyFileOrDocumentIsRefused) {
  const std::string path = makeWorkbook("readonly.xlsx");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  std::string text = faultOf([&] { engine->bind(path); });
  EXPECT_TRUE(mentions(text, "the workbook " + path + " is read-only")) << text;
  EXPECT_FALSE(isOpen(office(), path));

  const std::string other = makeWorkbook("viewed.xlsx");
  Document users = openAsUser(office(), other, true);
  text = faultOf([&] { engine->bind(other); });
  EXPECT_TRUE(mentions(text, "is open read-only in LibreOffice") && mentions(text, "Open it there for editing"))
      << text;
  EXPECT_TRUE(isOpen(office(), other));
  EXPECT_FALSE(Reference<css::util::XModifiable>(users, UNO_QUERY_THROW)->isModified());
  closeDocument(users);
}

}  // namespace
}  // namespace vk::test

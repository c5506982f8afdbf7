// Numbers read a block at a time give what reading each cell on its own
// gives: the same numbers, the same faults naming the same cells, across the
// edge of a block; and a write is seen by the next read.

#include <gtest/gtest.h>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <string>
#include <variant>

#include "module1/Fault.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/uno/LibreOfficeEngine.h"

namespace vk::test {
namespace {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

// A number, or the words of the fault reading it raised.
using Read = std::variant<double, std::string>;

Read readOf(Workbook& book, int sheet, int row, int column) {
  try {
    return book.readNumber(sheet, row, column);
  } catch (const Fault& fault) {
    return fault.description();
  }
}

void asDate(const Document& doc, int sheet, int row, int column) {
  Reference<css::util::XNumberFormatTypes> types(
      Reference<css::util::XNumberFormatsSupplier>(doc, UNO_QUERY_THROW)->getNumberFormats(), UNO_QUERY_THROW);
  Reference<css::beans::XPropertySet>(cell(doc, sheet, row, column), UNO_QUERY_THROW)
      ->setPropertyValue("NumberFormat",
                         css::uno::Any(types->getStandardFormat(css::util::NumberFormat::DATE, css::lang::Locale())));
}

// Every kind of content a cell may have, from `row` on in column B.
int fill(const Document& doc, int row) {
  const int first = row;
  setNumber(doc, 1, row++, 2, 300);
  setNumber(doc, 1, row++, 2, -0.1);
  setText(doc, 1, row++, 2, " 6 ");
  setText(doc, 1, row++, 2, "warm");
  setFormula(doc, 1, row++, 2, "=1/0");
  setFormula(doc, 1, row++, 2, "=2*B" + std::to_string(first));
  setFormula(doc, 1, row++, 2, "=\"12.5\"");
  setFormula(doc, 1, row++, 2, "=\"\"");
  setFormula(doc, 1, row++, 2, "=TRUE()");
  setFormula(doc, 1, row++, 2, "=Sheet2.A1*3");
  setNumber(doc, 1, row, 2, 45000);
  asDate(doc, 1, row++, 2);
  ++row;  // empty
  setText(doc, 1, row++, 2, "1e400");
  return row;
}

TEST(BlockReads, GiveWhatReadingEachCellGives) {
  OfficeConnection& office = TestOffice::get().connection();
  Document doc = newWorkbook(office);
  fill(doc, 1);
  const int last = fill(doc, 1018);  // across rows 1024 and 1025
  setNumber(doc, 2, 1, 1, 7);
  const std::string path = TestOffice::get().folder() + "/block-reads.ods";
  storeAndClose(doc, path);

  LibreOfficeOptions cellByCell = TestOffice::get().engineOptions();
  cellByCell.bufferWrites = false;
  LibreOfficeEngine blocks(TestOffice::get().engineOptions()), cells(cellByCell);
  std::shared_ptr<Workbook> fast = blocks.bind(path), slow = cells.bind(path);
  int faults = 0;
  for (int row = 1; row <= last + 2; ++row) {
    const Read a = readOf(*fast, 1, row, 2), b = readOf(*slow, 1, row, 2);
    EXPECT_EQ(a, b) << "row " << row;
    faults += std::holds_alternative<std::string>(a);
  }
  EXPECT_EQ(faults, 8);  // "warm", #DIV/0!, "" and "1e400", twice

  // The type mismatch names its cell in the second block.
  const Read warm = readOf(*fast, 1, 1021, 2);
  ASSERT_TRUE(std::holds_alternative<std::string>(warm));
  EXPECT_NE(std::get<std::string>(warm).find("sheet 1, cell B1021 holds the text \"warm\""), std::string::npos)
      << std::get<std::string>(warm);

  // A write reaches the formula that depends on it before the next read.
  EXPECT_EQ(readOf(*fast, 1, 6, 2), Read(600.0));
  fast->write(1, 1, 2, Integer(100));
  EXPECT_EQ(readOf(*fast, 1, 6, 2), Read(200.0));
  fast->discard();
  blocks.closeDocumentsLoadedHere();
}

}  // namespace
}  // namespace vk::test

#include <gtest/gtest.h>

#include "module1/Fault.h"
#include "workbook/A1.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

TEST(A1, AddressesOfTheCellMap) {
  EXPECT_EQ(columnLetters(1), "a");
  EXPECT_EQ(columnLetters(26), "z");
  EXPECT_EQ(columnLetters(27), "aa");
  EXPECT_EQ(columnLetters(49), "aw");
  EXPECT_EQ(cells::analysisTableRange(), "a7:ai22");
  EXPECT_EQ(cells::historyRange(20), "j11:aw20");
  EXPECT_EQ(cells::pointTableRange(700), "j45:aw700");
  const char* blocks[] = {"k25:l35", "r25:s35", "y25:z35", "af25:ag35", "am25:an35", "at25:au35"};
  const char* kept[] = {"k43", "r43", "y43", "af43", "am43", "at43"};
  const char* thresholds[] = {"a45", "g45", "m45", "s45", "y45", "ae45"};
  for (int set = 1; set <= 6; ++set) {
    EXPECT_EQ(cells::resultBlockRange(set), blocks[set - 1]);
    EXPECT_EQ(cells::keptCountCell(set), kept[set - 1]);
    EXPECT_EQ(cells::thresholdCell(set), thresholds[set - 1]);
  }
  EXPECT_EQ(cells::summaryRange(), "a13:h18");
  EXPECT_EQ(cells::averageRange(), "b19:h19");

  CellRange r = parseA1("J45:$AW$700");
  EXPECT_EQ(r.firstRow, 45);
  EXPECT_EQ(r.firstColumn, 10);
  EXPECT_EQ(r.lastRow, 700);
  EXPECT_EQ(r.lastColumn, 49);
  EXPECT_THROW(parseA1("45j"), Fault);
  EXPECT_THROW(parseA1("a0"), Fault);
  EXPECT_THROW(parseA1("a1:"), Fault);
}

TEST(A1, AddressesStayInsideTheSheet) {
  CellRange corner = parseA1("XFD1048576");
  EXPECT_EQ(corner.lastRow, kMaxRows);
  EXPECT_EQ(corner.lastColumn, kMaxColumns);
  EXPECT_EQ(a1Upper(kMaxRows, kMaxColumns), "XFD1048576");
  for (const char* outside : {"xfe1", "a1048577", "aaaa1", "a01048577", "a1:b0"})
    EXPECT_THROW(parseA1(outside), Fault) << outside;
}

TEST(MemoryWorkbook, ReadsNumbersAndRejectsText) {
  MemoryWorkbook book;
  book.write(1, 7, 3, Integer(40));
  book.setText(1, 8, 3, " 3 ");
  book.setText(1, 9, 3, "warm");
  book.setError(1, 10, 3, "#DIV/0!");
  EXPECT_EQ(book.readNumber(1, 7, 3), 40);
  EXPECT_EQ(book.readNumber(1, 8, 3), 3);
  EXPECT_EQ(book.readNumber(1, 12, 3), 0);  // empty
  try {
    book.readNumber(1, 9, 3);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::TypeMismatch);
    EXPECT_NE(std::string(f.what()).find("sheet 1, cell C9"), std::string::npos) << f.what();
    EXPECT_NE(std::string(f.what()).find("\"warm\""), std::string::npos) << f.what();
  }
  EXPECT_THROW(book.readNumber(1, 10, 3), Fault);
  EXPECT_THROW(book.readNumber(4, 1, 1), Fault);
}

TEST(MemoryWorkbook, RecordsWritesWithTheirTypesAndClears) {
  MemoryWorkbook book;
  book.write(3, 45, 10, Integer(1));
  book.write(3, 45, 11, Variant::single(0.5f));
  book.write(3, 45, 12, Variant::dbl(0.25));
  book.write(3, 46, 10, Integer(2));
  book.write(3, 44, 10, Integer(9));
  EXPECT_EQ(book.value(3, 45, 11), Variant::single(0.5f));
  book.write(3, 45, 12, Variant());  // Empty empties the cell
  EXPECT_TRUE(book.value(3, 45, 12).isEmpty());
  book.clearContents(3, "j45:aw700");
  EXPECT_TRUE(book.cells(3).count({44, 10}) == 1);
  EXPECT_EQ(book.cells(3).size(), 1u);
  ASSERT_EQ(book.log().size(), 7u);
  EXPECT_EQ(book.log()[1].value.type(), Variant::Type::Single);
  EXPECT_EQ(book.log()[6].op, MemoryWorkbook::Op::Clear);
  EXPECT_EQ(book.log()[6].text, "j45:aw700");
  EXPECT_THROW(book.runMacro("Other"), Fault);
}

TEST(Book, OpenBookBindsTheSameWorkbookForTheSamePath) {
  Module1 m;
  EXPECT_THROW(OpenBook(m), Fault);  // no engine
  auto engine = std::make_shared<MemoryEngine>();
  m.Engine = engine;
  m.WorkbookPath = "/data/test.xlsx";
  m.WorkbookName = "test.xlsx";
  OpenBook(m);
  auto first = m.DataBook;
  OpenBook(m);
  EXPECT_EQ(first, m.DataBook);
  EXPECT_EQ(m.FileBook, m.DataBook);
  ShowBook(m, Integer(2));
  EXPECT_EQ(engine->book("/data/test.xlsx")->shownSheet(), 2);
  m.WorkbookName = "other.xlsx";
  EXPECT_THROW(OpenBook(m), Fault);
}

}  // namespace
}  // namespace vk

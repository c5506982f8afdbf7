// The diffuser's submergence is read through its defined name, found as the
// template's sheets are found, and never from the template's cell alone.

#include <gtest/gtest.h>

#include "intake/DiffuserSubmergence.h"
#include "workbook/CellMap.h"
#include "workbook/TemplateBook.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

namespace c = cells;

struct Submergence : ::testing::Test {
  std::shared_ptr<MemoryWorkbook> tabs = std::make_shared<MemoryWorkbook>("campaign.xlsx");
  TemplateBook book{tabs};
  const int row = c::kSubmergenceTemplateRow, col = c::kConditionColumn;

  void name(int tab = 1, const std::string& range = "c13") {
    tabs->defineName(c::kDiffuserSubmergenceName, tab, range);
  }
  DiffuserSubmergence read() {
    DiffuserSubmergence s = readDiffuserSubmergence(book);
    book.commit();  // the next read finds the sheets again
    return s;
  }
};

TEST_F(Submergence, OnlyTheDefinedNameGivesIt) {
  tabs->write(1, row, col, Variant::dbl(14.5));
  DiffuserSubmergence none = read();
  EXPECT_FALSE(none.feet);  // an older workbook's C13 may hold anything
  EXPECT_EQ(none.warning, "");

  name();
  EXPECT_EQ(read().feet, 14.5);
  tabs->write(1, row, col, Variant());
  none = read();
  EXPECT_FALSE(none.feet);  // a blank cell: not given, nothing to say
  EXPECT_EQ(none.warning, "");
  tabs->setText(1, row, col, "12.5");
  EXPECT_EQ(read().feet, 12.5);
}

// With the test sheet's tab second, "sheet 1" of the name is that tab.
TEST_F(Submergence, TheNameIsFoundWhereverTheTabsStand) {
  tabs->defineName("VK_Test", 2, c::definedNameRange(1));
  tabs->defineName("VK_InitialAnalysis", 1, c::definedNameRange(2));
  name(2);
  tabs->write(1, row, col, Variant::dbl(99));
  tabs->write(2, row, col, Variant::dbl(11));
  EXPECT_EQ(read().feet, 11);
}

TEST_F(Submergence, ANameThatCannotBeUsedIsAWarningNotAFault) {
  name();
  auto warning = [&] {
    DiffuserSubmergence s = read();
    EXPECT_FALSE(s.feet);
    return s.warning;
  };
  tabs->setText(1, row, col, "deep");
  EXPECT_NE(warning().find("\"DiffuserSubmergence\" refers to sheet 1, cell C13, which is not a number"),
            std::string::npos);
  tabs->write(1, row, col, Variant::dbl(0));
  EXPECT_NE(warning().find("which holds 0, not a submergence above 0 ft; the workbook has no SSOTE."),
            std::string::npos);
  tabs->setBoolean(1, row, col, true);
  EXPECT_NE(warning().find("holds a logical value"), std::string::npos);
  name(1, "c13:c14");
  EXPECT_NE(warning().find("not to one cell"), std::string::npos);
  tabs->defineName(c::kDiffuserSubmergenceName, 0, "", "#REF!");
  EXPECT_NE(warning().find("refers to no cells (#REF!)"), std::string::npos);
}

}  // namespace
}  // namespace vk

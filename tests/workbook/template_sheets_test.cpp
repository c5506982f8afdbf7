// The template's sheets found by their defined names wherever their tabs
// stand, and without names by position once sheet 1 looks like the test.

#include <gtest/gtest.h>

#include <functional>

#include "module1/Fault.h"
#include "workbook/CellMap.h"
#include "workbook/TemplateBook.h"
#include "workbook/TemplateSheets.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

namespace c = cells;

std::string faultOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Fault& fault) {
    return fault.what();
  }
  return "no fault";
}

// The names of the template moved to other tabs: test on tab 3, initial
// analysis on tab 1, results on tab 4 of four.
std::shared_ptr<MemoryWorkbook> reorderedBook() {
  auto book = std::make_shared<MemoryWorkbook>("/lab/moved.xlsx", 4);
  const int tabs[] = {3, 1, 4};
  for (int k = 0; k < 3; ++k) {
    const auto& n = c::kSheetDefinedNames[k];
    book->defineName(n.name, tabs[k], c::definedNameRange(n.sheet));
  }
  return book;
}

TEST(TemplateSheets, NamedSheetsAreUsedWhereverTheirTabsStand) {
  auto tabs = reorderedBook();
  tabs->tab(2).name = "Notes";
  TemplateBook book(tabs);
  book.write(c::kTestSheet, 7, 3, Integer(13));
  book.write(c::kAnalysisSheet, 45, 1, Integer(1));
  book.write(c::kResultsSheet, 13, 1, Integer(2));
  book.write(4, 1, 1, Integer(4));  // the other sheet
  EXPECT_EQ(tabs->value(3, 7, 3), Variant(Integer(13)));
  EXPECT_EQ(tabs->value(1, 45, 1), Variant(Integer(1)));
  EXPECT_EQ(tabs->value(4, 13, 1), Variant(Integer(2)));
  EXPECT_EQ(tabs->value(2, 1, 1), Variant(Integer(4)));
  EXPECT_EQ(book.readNumber(c::kTestSheet, 7, 3), 13);
  EXPECT_EQ(book.sheets().at(3).name, "Notes");
  // A name read through the same lookup refers to sheets as the commands count them.
  tabs->defineName("DiffuserSubmergence", 3, "e7");
  EXPECT_EQ(book.definedName("DiffuserSubmergence")->sheet, c::kTestSheet);
  EXPECT_FALSE(book.definedName("Nothing"));
}

TEST(TemplateSheets, AHiddenSheetIsUsedLikeAnyOtherAndShowingItChangesNoTab) {
  auto tabs = std::make_shared<MemoryWorkbook>("/lab/test.xlsx");
  tabs->tab(c::kResultsSheet).hidden = true;
  TemplateBook book(tabs);
  book.show(c::kTestSheet);
  book.write(c::kResultsSheet, 13, 1, Integer(1));
  book.show(c::kResultsSheet);
  EXPECT_EQ(tabs->value(c::kResultsSheet, 13, 1), Variant(Integer(1)));
  EXPECT_EQ(tabs->shownSheet(), c::kTestSheet);
  EXPECT_TRUE(book.sheets().at(2).hidden);
}

TEST(TemplateSheets, TheTabsAreLookedAtAgainInEachCommand) {
  auto tabs = std::make_shared<MemoryWorkbook>("/lab/test.xlsx");
  TemplateBook book(tabs);
  book.write(c::kResultsSheet, 13, 1, Integer(1));
  // Between two commands the user drags the results sheet to the front.
  tabs->defineName("VK_Results", 1, "a13:h19");
  tabs->defineName("VK_Test", 3, "c7:c12");
  book.write(c::kResultsSheet, 13, 1, Integer(2));
  EXPECT_EQ(tabs->value(3, 13, 1), Variant(Integer(2)));  // still the same command
  book.commit();
  book.write(c::kResultsSheet, 13, 1, Integer(3));
  EXPECT_EQ(tabs->value(1, 13, 1), Variant(Integer(3)));
}

TEST(TemplateSheets, ANameThatCannotMarkItsSheetIsRefusedNamingIt) {
  struct Case {
    const char* why;
    std::function<void(MemoryWorkbook&)> spoil;
    const char* expected;
  };
  const Case cases[] = {
      {"broken", [](MemoryWorkbook& b) { b.defineName("VK_Results", 0, "", "#REF!$A$13:$H$19"); },
       "the defined name \"VK_Results\" of the workbook /lab/test.xlsx is broken: it refers to #REF!"},
      {"no sheet", [](MemoryWorkbook& b) { b.defineName("VK_InitialAnalysis", 0, "", "=42"); },
       "\"VK_InitialAnalysis\" of the workbook /lab/test.xlsx is broken: it refers to no cells of one sheet"},
      {"one sheet", [](MemoryWorkbook& b) { b.defineName("VK_Results", 1, "a13:h19"); },
       "the defined names \"VK_Test\" and \"VK_Results\" of the workbook /lab/test.xlsx are both on sheet 1"},
      {"missing", [](MemoryWorkbook& b) { b.removeName("VK_Test"); },
       "lacks the defined name \"VK_Test\" that marks the test sheet"},
      {"chart", [](MemoryWorkbook& b) { b.tab(2).otherKind = "a chart sheet"; },
       "\"VK_InitialAnalysis\" of the workbook /lab/test.xlsx refers to sheet 2 (\"Sheet2\"), which is a chart sheet"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.why);
    MemoryWorkbook book("/lab/test.xlsx");
    k.spoil(book);
    const std::string text = faultOf([&] { findTemplateSheets(book, book.path()); });
    EXPECT_NE(text.find(k.expected), std::string::npos) << text;
    EXPECT_NE(text.find("Nothing was written."), std::string::npos) << text;
  }
}

// A workbook made before the names: its first three tabs, once they are
// worksheets and sheet 1 holds the conditions.
struct Unnamed : ::testing::Test {
  MemoryWorkbook book{"/lab/old.xlsx"};
  void SetUp() override {
    for (const auto& n : c::kSheetDefinedNames) book.removeName(n.name);
    for (int row = c::kNumPointsRow; row <= c::kTankVolumeRow; ++row)
      book.write(c::kTestSheet, row, c::kConditionColumn, Integer(4));
  }
  std::string refusal() {
    return faultOf([&] { findTemplateSheets(book, book.path()); });
  }
};

TEST_F(Unnamed, TheFirstThreeTabsAreTheSheetsWhenSheetOneHoldsTheConditions) {
  book.setText(c::kTestSheet, c::kWaterTempRow, c::kConditionColumn, " 20.5 ");  // a number as text
  const TemplateTabs found = findTemplateSheets(book, book.path());
  EXPECT_FALSE(found.named);
  EXPECT_EQ(found.tabs, (std::array<int, 3>{1, 2, 3}));
}

TEST_F(Unnamed, SheetOneWithoutTheConditionsIsRefusedNamingWhatItHolds) {
  book.tab(1).name = "Results";
  book.write(c::kTestSheet, c::kTankVolumeRow, c::kConditionColumn, Variant());
  EXPECT_NE(refusal().find("sheet 1 (\"Results\") of the workbook /lab/old.xlsx does not hold a test: its cell C11 "
                           "(tank volume) holds nothing"),
            std::string::npos)
      << refusal();
  book.setBoolean(c::kTestSheet, c::kTankVolumeRow, c::kConditionColumn, true);
  EXPECT_NE(refusal().find("C11 (tank volume) holds a logical value"), std::string::npos) << refusal();
  book.setText(c::kTestSheet, c::kTankVolumeRow, c::kConditionColumn, "Set");
  EXPECT_NE(refusal().find("C11 (tank volume) is not a number (sheet 1, cell C11 holds the text \"Set\""),
            std::string::npos)
      << refusal();
}

TEST_F(Unnamed, AFirstTabThatIsNoWorksheetIsRefused) {
  book.tab(3).otherKind = "a chart sheet";
  EXPECT_NE(refusal().find("sheet 3 (\"Sheet3\") of the workbook /lab/old.xlsx is a chart sheet"), std::string::npos)
      << refusal();
}

}  // namespace
}  // namespace vk

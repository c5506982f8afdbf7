#include <gtest/gtest.h>

#include "commands/OpenCommand.h"
#include "module1/Fault.h"
#include "tests/support/RecordingFeedback.h"
#include "workbook/TemplateBook.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

using Op = MemoryWorkbook::Op;

TEST(OpenCommand, PathsGetOneSeparator) {
  EXPECT_EQ(BuildWorkbookPath("/", "test.xlsx"), "/test.xlsx");
  EXPECT_EQ(BuildWorkbookPath("/home/lab", "test.xlsx"), "/home/lab/test.xlsx");
  EXPECT_EQ(BuildWorkbookPath("/home/lab/", "test.xlsx"), "/home/lab/test.xlsx");
}

TEST(OpenCommand, NothingChosenBeepsAndSaysSoAndChangesNothingElse) {
  Module1 m;
  auto engine = std::make_shared<MemoryEngine>();
  m.Engine = engine;
  m.WorkbookName = "earlier.xlsx";
  m.WorkbookPath = "/data/earlier.xlsx";
  test::RecordingFeedback screen;
  OpenWorkbook(m, screen, "/data", "");
  EXPECT_EQ(screen.lines, (std::vector<std::string>{"beep", "message"}));
  EXPECT_EQ(screen.messages.at(0), "Please Choose a proper file");
  EXPECT_EQ(m.WorkbookName, "");
  EXPECT_EQ(m.WorkbookPath, "/data/earlier.xlsx");
  EXPECT_FALSE(m.DataBook);
}

TEST(OpenCommand, BlanksTheTemplateInOrderAndLocksTheChoice) {
  Module1 m;
  auto engine = std::make_shared<MemoryEngine>();
  m.Engine = engine;
  auto book = engine->book("/data/test.xlsx");
  book->write(3, 21, 10, Integer(11));     // row 21 of an earlier fit history
  book->write(3, 900, 11, Integer(5));     // a point table row below row 700
  book->write(3, 19, 4, Variant::dbl(3));  // an earlier SOTE average
  book->write(3, 44, 10, Integer(7));      // a heading above the point table stays
  book->clearLog();

  test::RecordingFeedback screen;
  OpenWorkbook(m, screen, "/data", "test.xlsx");
  EXPECT_EQ(m.WorkbookName, "test.xlsx");
  EXPECT_EQ(m.WorkbookPath, "/data/test.xlsx");
  auto attached = std::dynamic_pointer_cast<TemplateBook>(m.DataBook);
  ASSERT_TRUE(attached);
  EXPECT_EQ(attached->tabs(), std::shared_ptr<Workbook>(book));

  const std::vector<std::pair<int, std::string>> clears = {
      {2, "a7:ai22"},   {3, "j45:aw32767"}, {3, "j11:aw21"},  {3, "k25:l35"}, {3, "r25:s35"}, {3, "y25:z35"},
      {3, "af25:ag35"}, {3, "am25:an35"},   {3, "at25:au35"}, {3, "a13:h18"}, {3, "b19:h19"}, {3, "k43"},
      {3, "r43"},       {3, "y43"},         {3, "af43"},      {3, "am43"},    {3, "at43"}};
  const auto& log = book->log();
  ASSERT_EQ(log.size(), clears.size() + 6 + 3);
  for (size_t k = 0; k < clears.size(); ++k) {
    EXPECT_EQ(log[k].op, Op::Clear);
    EXPECT_EQ(log[k].sheet, clears[k].first);
    EXPECT_EQ(log[k].text, clears[k].second);
  }
  const int thresholdColumns[] = {1, 7, 13, 19, 25, 31};
  for (int s = 0; s < 6; ++s) {
    const auto& w = log[clears.size() + std::size_t(s)];
    EXPECT_EQ(w.op, Op::Write);
    EXPECT_EQ(w.sheet, 2);
    EXPECT_EQ(w.row, 45);
    EXPECT_EQ(w.column, thresholdColumns[s]);
    EXPECT_EQ(w.value, Variant(Integer(0)));
  }
  EXPECT_EQ(log[23].op, Op::Show);
  EXPECT_EQ(log[23].sheet, 1);
  EXPECT_EQ(log[24].op, Op::Select);
  EXPECT_EQ(log[24].text, "a1");
  EXPECT_EQ(log[25].op, Op::Commit);

  EXPECT_TRUE(book->value(3, 21, 10).isEmpty());
  EXPECT_TRUE(book->value(3, 900, 11).isEmpty());
  EXPECT_TRUE(book->value(3, 19, 4).isEmpty());
  EXPECT_FALSE(book->value(3, 44, 10).isEmpty());

  EXPECT_EQ(screen.lines,
            (std::vector<std::string>{"beep", "Label2.Caption=Your selection is : /data/test.xlsx",
                                      "cmdNext.Enabled=True", "cmdNext.Visible=True", "SSCommand1.Enabled=False",
                                      "drvChange.Enabled=False", "filFind.Enabled=False", "dirLook.Enabled=False"}));
}

TEST(OpenCommand, AFaultLeavesWhatWasClearedClearedAndSaved) {
  Module1 m;
  // The first clear on sheet 3 fails.
  struct FailingClear : MemoryWorkbook {
    using MemoryWorkbook::MemoryWorkbook;
    void clearContents(int sheet, std::string_view range) override {
      if (sheet == 3) throw Fault(FaultKind::Workbook, "the sheet is protected");
      MemoryWorkbook::clearContents(sheet, range);
    }
  };
  auto book = std::make_shared<FailingClear>("/data/protected.xlsx");
  struct OneBookEngine : WorkbookEngine {
    std::shared_ptr<MemoryWorkbook> book;
    std::shared_ptr<Workbook> bind(const std::string&) override { return book; }
    std::string name() const override { return "one"; }
    std::vector<std::string> extensions() const override { return {"xlsx"}; }
  };
  auto one = std::make_shared<OneBookEngine>();
  one->book = book;
  m.Engine = one;
  test::RecordingFeedback screen;
  EXPECT_THROW(OpenWorkbook(m, screen, "/data", "protected.xlsx"), Fault);
  ASSERT_GE(book->log().size(), 2u);
  EXPECT_EQ(book->log()[0].op, Op::Clear);
  EXPECT_EQ(book->log().back().op, Op::Commit);
  // The choice is not locked: the user can pick another workbook.
  for (const auto& line : screen.lines) EXPECT_EQ(line.find("Enabled=False"), std::string::npos) << line;
}

}  // namespace
}  // namespace vk

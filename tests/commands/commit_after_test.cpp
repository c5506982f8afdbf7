// The end of a command: one commit, a failed save reported once, and commands
// that join an enclosing one.

#include <gtest/gtest.h>

#include "commands/CommitAfter.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "tests/support/FailingSave.h"
#include "tests/support/FaultOf.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestBook.h"

namespace vk {
namespace {

using Op = MemoryWorkbook::Op;
using test::FailingSaveBook;
using test::faultOf;

struct CommitAfter : ::testing::Test {
  Module1 m;
  std::shared_ptr<test::FailingSaveEngine> failing = std::make_shared<test::FailingSaveEngine>();
  std::shared_ptr<MemoryEngine> memory = std::make_shared<MemoryEngine>();
  std::shared_ptr<MemoryWorkbook> book = memory->book("/lab/test.xlsx");
  test::RecordingFeedback screen;

  // A test of two sets on `target`, and a module that uses `engine`.
  void prepare(std::shared_ptr<WorkbookEngine> engine, MemoryWorkbook& target) {
    test::TestData d;
    d.times = test::workedTimes();
    d.sets = {test::workedConc(), test::workedConc()};
    test::writeTestSheet(target, d);
    target.clearLog();
    m.Engine = std::move(engine);
  }
  void wholeAnalysis() {
    commitAfter(
        m,
        [&] {
          OpenWorkbook(m, screen, "/lab", "test.xlsx");
          ReadDataSets(m, screen);
          RunAnalysis(m, screen);
        },
        AfterFault::WriteNothing);
  }
  static long commits(const MemoryWorkbook& b) {
    return std::count_if(b.log().begin(), b.log().end(), [](const auto& r) { return r.op == Op::Commit; });
  }
};

TEST_F(CommitAfter, ASaveThatFailsIsTriedOnceAndReportedInOneSentence) {
  prepare(failing, *failing->book);
  EXPECT_EQ(faultOf([&] { OpenWorkbook(m, screen, "/lab", "test.xlsx"); }),
            std::string("Workbook error: ") + FailingSaveBook::kReason);
  EXPECT_EQ(commits(*failing->book), 1);
  EXPECT_FALSE(m.CommandUnderWay);
}

TEST_F(CommitAfter, AFaultAndAFailedSaveMakeOneMessageNamingEachOnce) {
  prepare(failing, *failing->book);
  failing->book->setText(1, 9, 3, "warm");  // C9: the water temperature
  m.WorkbookPath = "/lab/test.xlsx";
  m.WorkbookName = "test.xlsx";
  const std::string text = faultOf([&] { ReadDataSets(m, screen); });
  // The Reading's fault as it is, then the save in one sentence, no kind twice.
  const std::string reading = text.substr(0, text.find('\n'));
  EXPECT_EQ(reading.rfind("Type mismatch: sheet 1, cell C9", 0), 0u) << reading;
  EXPECT_EQ(text, reading + "\nWhat was written could not be saved either: " + FailingSaveBook::kReason);
  EXPECT_EQ(commits(*failing->book), 1);
}

TEST_F(CommitAfter, CommandsInsideAWholeAnalysisJoinItsOneCommit) {
  prepare(memory, *book);
  wholeAnalysis();
  EXPECT_EQ(commits(*book), 1);
  EXPECT_EQ(book->log().back().op, Op::Commit);
  EXPECT_FALSE(book->value(3, 13, 1).isEmpty());
  // On their own again, commands commit at their end.
  RunAnalysis(m, screen);
  EXPECT_EQ(commits(*book), 2);
}

TEST_F(CommitAfter, AWholeAnalysisThatFaultsCommitsNothing) {
  prepare(failing, *failing->book);
  failing->book->setText(1, 8, 3, "two");  // C8: the number of sets
  const std::string text = faultOf([&] { wholeAnalysis(); });
  EXPECT_EQ(text.rfind("Type mismatch: sheet 1, cell C8", 0), 0u) << text;
  EXPECT_EQ(text.find("saved"), std::string::npos) << text;
  EXPECT_EQ(commits(*failing->book), 0);
  EXPECT_EQ(failing->book->log().back().op, Op::Discard);
  EXPECT_FALSE(m.CommandUnderWay);
}

}  // namespace
}  // namespace vk

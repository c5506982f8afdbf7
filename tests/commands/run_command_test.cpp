#include <gtest/gtest.h>

#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "tests/Digits.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestBook.h"
#include "tests/support/WorkedExample.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

using Op = MemoryWorkbook::Op;

struct Run : ::testing::Test {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  std::shared_ptr<MemoryWorkbook> book = engine->book("/lab/test.xlsx");
  test::RecordingFeedback readScreen, runScreen;

  void read(const test::TestData& data) {
    m.Engine = engine;
    m.WorkbookPath = "/lab/test.xlsx";
    m.WorkbookName = "test.xlsx";
    test::writeTestSheet(*book, data);
    ReadDataSets(m, readScreen);
    book->clearLog();
  }
  void threshold(int set, Variant percent) { book->write(2, 45, 6 * (set - 1) + 1, percent); }
  Variant cell(int row, int column) const { return book->value(3, row, column); }
};

test::TestData workedTest(int sets = 1) {
  test::TestData d;
  d.times = test::workedTimes();
  for (int s = 0; s < sets; ++s) d.sets.push_back(test::workedConc());
  return d;
}

TEST_F(Run, WorkedExampleAtTenPercentWritesItsHistoryAndResults) {
  read(workedTest());
  threshold(1, Integer(10));
  RunSummary run = RunAnalysis(m, runScreen);

  for (int pass = 1; pass <= test::worked::kPassCount; ++pass) {
    const test::worked::Pass& row = test::worked::kPasses[pass - 1];
    EXPECT_EQ(cell(10 + pass, 10), Variant(Integer::checked(pass)));
    EXPECT_DIGITS(cell(10 + pass, 11).asDouble(), row.cinf);
    EXPECT_DIGITS(cell(10 + pass, 12).asDouble(), row.c0);
    EXPECT_DIGITS(cell(10 + pass, 13).asDouble(), row.kla);
    EXPECT_DIGITS(cell(10 + pass, 14).asDouble(), row.sumSq);
  }
  EXPECT_TRUE(cell(15, 10).isEmpty());
  EXPECT_DIGITS(cell(29, 11).asDouble(), test::worked::kStdErr);  // K29
  EXPECT_EQ(cell(29, 11).type(), Variant::Type::Double);
  EXPECT_EQ(cell(35, 11), Variant::single(10));      // K35: threshold as read
  EXPECT_EQ(cell(43, 11), Variant(Integer(12)));     // K43
  EXPECT_EQ(cell(26, 12), Variant::single(29.92f));  // L26
  EXPECT_EQ(cell(25, 12), Variant::single(20));      // L25
  EXPECT_EQ(cell(25, 11), Variant::single(15));      // K25 water temperature
  // Point table: 12 kept points, re-zeroed times.
  for (int k = 1; k <= 12; ++k) {
    EXPECT_EQ(cell(44 + k, 10), Variant(Integer::checked(k)));
    EXPECT_EQ(cell(44 + k, 11), Variant::single(float(k - 1)));
    EXPECT_EQ(cell(44 + k, 12), Variant::single(test::workedConc()[std::size_t(k)]));
    EXPECT_EQ(cell(44 + k, 13).type(), Variant::Type::Single);
    EXPECT_EQ(cell(44 + k, 14).type(), Variant::Type::Single);
  }
  EXPECT_TRUE(cell(57, 10).isEmpty());
  // Summary row and averages of one set.
  EXPECT_EQ(cell(13, 1), Variant(Integer(1)));
  for (int col = 2; col <= 8; ++col)
    EXPECT_EQ(cell(19, col), cell(13, col).type() == Variant::Type::Double
                                 ? cell(13, col)
                                 : Variant::single(float(cell(13, col).asDouble())))
        << col;
  EXPECT_EQ(cell(13, 4).type(), Variant::Type::Double);  // SOTE
  EXPECT_EQ(cell(13, 5).type(), Variant::Type::Single);  // SOTR
  EXPECT_EQ(run.sets.size(), 1u);
  EXPECT_TRUE(run.notConverged.empty());
  EXPECT_TRUE(runScreen.warnings.empty());

  // Written per set: 14 result cells, 5 per point, the count, 8 summary cells.
  size_t resultWrites = 0;
  for (const auto& r : book->log())
    if (r.op == Op::Write && r.row >= 25 && r.row <= 34) ++resultWrites;
  EXPECT_EQ(resultWrites, 14u);

  // The closing steps.
  const auto& log = book->log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3].op, Op::Show);
  EXPECT_EQ(log[log.size() - 3].sheet, 3);
  EXPECT_EQ(log[log.size() - 2].op, Op::RunMacro);
  EXPECT_EQ(log[log.size() - 2].text, "Redraw");
  EXPECT_EQ(log.back().op, Op::Commit);
  EXPECT_EQ(runScreen.withoutValues(),
            (std::vector<std::string>{"beep", "Timer1.Enabled=True", "Label1.Caption=Be patient!!",
                                      "Timer1.Enabled=False", "SSCommand2.Enabled=False", "Label1.Visible=False",
                                      "cmdBye.Enabled=True", "cmdBye.Visible=True", "ProgressBar1.Visible=False",
                                      "cmdStartOver.Visible=True", "cmdStartOver.Enabled=True"}));
  EXPECT_EQ(runScreen.values(), (std::vector<std::string>{"1"}));
}

// The summary carries what the report needs: the same numbers the Run
// wrote, and the readings it worked on.
TEST_F(Run, TheSummaryHoldsWhatTheRunWroteAndTheReadingsItWorkedOn) {
  read(workedTest(2));
  threshold(1, Integer(10));
  const RunSummary run = RunAnalysis(m, runScreen);
  EXPECT_EQ(run.conditions.WaterTemp, 15.0f);
  EXPECT_EQ(run.conditions.AirFlow, 50.0f);
  ASSERT_EQ(run.sets.size(), 2u);
  for (const SetResult& s : run.sets) {
    SCOPED_TRACE(s.set);
    const int column = cells::resultColumn(s.set), test = cells::testColumn(s.set);
    EXPECT_EQ(cell(cells::kStartPercentResultRow, test), Variant::single(s.StartPercent));
    EXPECT_EQ(cell(cells::kCinfResultRow, test), Variant::single(s.Cinf));
    EXPECT_EQ(cell(cells::kStdErrResultRow, test), s.StdErr);
    ASSERT_EQ(cell(cells::kKeptCountRow, test), Variant(Integer::checked(long(s.kept.Conc.size()))));
    for (size_t k = 0; k < s.kept.Conc.size(); ++k) {
      EXPECT_EQ(cell(cells::pointRow(int(k) + 1), column + 1), Variant::single(s.kept.Times[k]));
      EXPECT_EQ(cell(cells::pointRow(int(k) + 1), column + 2), Variant::single(s.kept.Conc[k]));
    }
    ASSERT_EQ(int(s.history.size()), s.fit.passes);
    for (const FitPass& p : s.history) {
      EXPECT_EQ(cell(cells::historyRow(p.pass), column + 1), Variant::single(p.cinf));
      EXPECT_EQ(cell(cells::historyRow(p.pass), column + 3), Variant::single(p.kla));
      EXPECT_EQ(cell(cells::historyRow(p.pass), column + 4), p.sumSq);
    }
    EXPECT_TRUE(cell(cells::historyRow(s.fit.passes + 1), column).isEmpty());
    EXPECT_EQ(s.raw.Conc, test::workedConc());
    EXPECT_EQ(s.raw.Times, test::workedTimes());
  }
  // Set 1 at 10 %: the first reading is dropped and the times start at the second.
  EXPECT_EQ(run.sets[0].kept.Conc.size(), 12u);
  EXPECT_EQ(run.sets[0].TimeShift, 1.0f);
  EXPECT_EQ(run.sets[0].kept.Times.front(), 0.0f);
  EXPECT_EQ(run.sets[1].kept.Conc.size(), 13u);
  EXPECT_EQ(run.sets[1].StartPercent, 1.0f);
}

TEST_F(Run, ClearsEarlierResultsRightAfterRestoringAndShowsProgressForThreeSets) {
  read(workedTest(3));
  RunAnalysis(m, runScreen);
  const std::vector<std::string> clears = {"j11:aw21",  "j45:aw32767", "k25:l35", "r25:s35", "y25:z35", "af25:ag35",
                                           "am25:an35", "at25:au35",   "a13:h18", "b19:h19", "k43",     "r43",
                                           "y43",       "af43",        "am43",    "at43"};
  std::vector<std::string> seen;
  for (const auto& r : book->log())
    if (r.op == Op::Clear) {
      EXPECT_EQ(r.sheet, 3);
      seen.push_back(r.text);
    }
  EXPECT_EQ(seen, clears);
  for (const auto& r : book->log()) {  // nothing written before the clears
    if (r.op == Op::Clear) break;
    EXPECT_TRUE(r.op == Op::Read || r.op == Op::Kind);
  }
  const auto lines = runScreen.lines;
  const std::vector<std::string> progress = {
      "ProgressBar1.Visible=True", "Max=3", "Min=0", "Value=0", "Value=1", "Value=2", "Value=3"};
  auto start = std::find(lines.begin(), lines.end(), progress[0]);
  ASSERT_NE(start, lines.end());
  EXPECT_TRUE(std::equal(progress.begin(), progress.end(), start));
  // Three identical sets: the averages equal each set's figures.
  EXPECT_EQ(cell(19, 2), cell(13, 2));
  EXPECT_EQ(cell(15, 2), cell(13, 2));
  EXPECT_FLOAT_EQ(float(cell(19, 8).asDouble()), 29.92f);
}

TEST_F(Run, NoAirFlowLeavesSoteEmptyAndItsAverageUnwritten) {
  test::TestData d = workedTest(2);
  d.airFlow = 0;
  read(d);
  book->write(3, 19, 4, Variant::dbl(99));  // D19 of an earlier run is cleared first
  book->clearLog();
  RunAnalysis(m, runScreen);
  EXPECT_TRUE(cell(31, 12).isEmpty());
  EXPECT_TRUE(cell(31, 19).isEmpty());
  EXPECT_TRUE(cell(13, 4).isEmpty());
  EXPECT_TRUE(cell(19, 4).isEmpty());
  for (const auto& r : book->log()) EXPECT_FALSE(r.op == Op::Write && r.row == 19 && r.column == 4) << "D19 written";
  EXPECT_FALSE(cell(19, 5).isEmpty());
}

TEST_F(Run, ASetThatDoesNotConvergeIsWrittenAndWarnedAbout) {
  test::TestData d;
  d.times = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  d.sets = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 3.5f, 5.2f, 6.4f, 7.2f, 7.7f, 8.1f, 8.3f, 8.45f, 8.55f}};
  read(d);
  RunSummary run = RunAnalysis(m, runScreen);
  EXPECT_EQ(run.notConverged, (std::vector<int>{1}));
  EXPECT_EQ(cell(21, 10), Variant(Integer(11)));  // J21: pass 11
  EXPECT_TRUE(cell(29, 11).isEmpty());            // no standard error
  EXPECT_TRUE(cell(13, 7).isEmpty());
  EXPECT_FALSE(cell(14, 7).isEmpty());
  // G19 divides the other set's error by both sets.
  EXPECT_DOUBLE_EQ(cell(19, 7).asDouble(), cell(14, 7).asDouble() / 2);
  ASSERT_EQ(runScreen.warnings.size(), 1u);
  EXPECT_NE(runScreen.warnings[0].find("data set 1 did not converge in 11 passes"), std::string::npos)
      << runScreen.warnings[0];
  EXPECT_EQ(runScreen.lines.back(), "warning");
}

TEST_F(Run, HistoryOfEachSetGoesIntoItsOwnBlock) {
  read(workedTest(3));
  threshold(3, Integer(10));
  RunAnalysis(m, runScreen);
  EXPECT_EQ(cell(11, 24), Variant(Integer(1)));                        // X11
  EXPECT_DIGITS(cell(14, 25).asDouble(), test::worked::kResult.cinf);  // Y14
}

TEST_F(Run, ThresholdsAreReadPerSetAndAnEmptyOneCountsAsZero) {
  read(workedTest(2));
  threshold(1, Integer(10));
  threshold(2, Variant());
  RunAnalysis(m, runScreen);
  EXPECT_EQ(cell(43, 11), Variant(Integer(12)));
  EXPECT_EQ(cell(35, 18), Variant::single(0));
  EXPECT_EQ(cell(43, 18), Variant(Integer(13)));  // R43: every reading kept
}

TEST_F(Run, RunningTwiceGivesIdenticalCells) {
  read(workedTest(3));
  threshold(2, Integer(20));
  RunAnalysis(m, runScreen);
  auto first = book->cells(3);
  // A lower threshold for a second run would leave more rows; a higher one fewer.
  threshold(2, Integer(40));
  RunAnalysis(m, runScreen);
  threshold(2, Integer(20));
  RunAnalysis(m, runScreen);
  EXPECT_EQ(book->cells(3), first);
}

TEST_F(Run, AFaultStopsTheRunSavesAndLeavesTheButtons) {
  read(workedTest(2));
  threshold(2, Integer(100));  // no reading above the last one
  test::RecordingFeedback screen;
  try {
    RunAnalysis(m, screen);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_NE(std::string(f.what()).find("data set 2"), std::string::npos) << f.what();
  }
  EXPECT_FALSE(cell(13, 1).isEmpty());  // set 1 stays written
  EXPECT_TRUE(cell(19, 2).isEmpty());
  EXPECT_EQ(book->log().back().op, Op::Commit);
  for (const auto& r : book->log()) EXPECT_NE(r.op, Op::RunMacro);
  for (const auto& line : screen.lines) EXPECT_EQ(line.find("cmdBye"), std::string::npos);
}

TEST_F(Run, WithoutReadDataItIsAClearFault) {
  m.Engine = engine;
  m.WorkbookPath = "/lab/test.xlsx";
  m.WorkbookName = "test.xlsx";
  try {
    RunAnalysis(m, runScreen);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_NE(std::string(f.what()).find("Reading"), std::string::npos);
  }
}

}  // namespace
}  // namespace vk

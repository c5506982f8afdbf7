// The record the assessment gets from the Reading and Run summaries, and the
// program's trimming as the assessment uses it.

#include <gtest/gtest.h>

#include "commands/ProgramTrimming.h"
#include "commands/RunRecordOf.h"
#include "module1/Fault.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestBook.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

struct Record : ::testing::Test {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  std::shared_ptr<MemoryWorkbook> book = engine->book("/lab/test.xlsx");
  test::RecordingFeedback screen;
  ReadingSummary reading;
  RunSummary run;

  // Set 1 lies on a straight line and cannot converge; set 2 is a sound curve.
  assess::RunRecord analyse(float airFlow) {
    test::TestData d;
    d.airFlow = airFlow;
    d.times = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    d.sets = {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 3.5f, 5.2f, 6.4f, 7.2f, 7.7f, 8.1f, 8.3f, 8.45f, 8.55f}};
    m.Engine = engine;
    m.WorkbookPath = "/lab/test.xlsx";
    m.WorkbookName = "test.xlsx";
    test::writeTestSheet(*book, d);
    reading = ReadDataSets(m, screen);
    book->write(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(2), Integer(20));
    run = RunAnalysis(m, screen);
    return runRecordOf(run, reading);
  }
  double result(int row, int set) const { return book->value(3, row, cells::testColumn(set)).asDouble(); }
};

TEST_F(Record, CarriesTheRunsFiguresItsSolverAndTheInitialAnalysis) {
  const assess::RunRecord r = analyse(50);
  EXPECT_EQ(r.conditions.waterTempC, 15);
  EXPECT_EQ(r.conditions.airFlowScfm, 50);
  ASSERT_EQ(r.sets.size(), 2u);

  const assess::SetRecord& line = r.sets[0];
  EXPECT_FALSE(line.fit.stdErr);
  EXPECT_FALSE(line.fit.solver.converged);
  EXPECT_EQ(line.fit.solver.stopReason, assess::StopReason::PassLimit);
  EXPECT_EQ(line.fit.solver.passes, 11);
  EXPECT_EQ(line.fit.history.size(), 11u);

  const assess::SetRecord& curve = r.sets[1];
  EXPECT_EQ(curve.set, 2);
  EXPECT_EQ(curve.startPercent, 20);
  ASSERT_TRUE(curve.fit.stdErr);
  EXPECT_EQ(*curve.fit.stdErr, result(cells::kStdErrResultRow, 2));
  EXPECT_TRUE(curve.fit.solver.converged);
  EXPECT_NE(curve.fit.solver.stopReason, assess::StopReason::PassLimit);
  EXPECT_EQ(curve.fit.solver.passLimit, kMaxPasses);
  EXPECT_EQ(curve.fit.solver.finalSumSq, run.sets[1].fit.finalSumSq);
  EXPECT_EQ(curve.fit.history.back().sumSq, run.sets[1].history.back().sumSq.asDouble());
  EXPECT_EQ(curve.fit.cinf, result(cells::kCinfResultRow, 2));
  EXPECT_EQ(curve.figures.kla20, book->value(3, cells::kKLaResultRow, cells::standardColumn(2)).asDouble());
  EXPECT_EQ(curve.figures.sotr, book->value(3, cells::kSOTRResultRow, cells::standardColumn(2)).asDouble());
  ASSERT_TRUE(curve.figures.sote);
  EXPECT_EQ(curve.timeShift, 1);  // 1.0 is the last reading at or below 20 % of 8.55
  EXPECT_EQ(curve.kept.size() + 1, curve.raw.size());
  EXPECT_EQ(curve.kept.conc.front(), double(3.5f));
  EXPECT_EQ(curve.raw.conc.front(), 1);

  for (std::size_t s = 0; s < 2; ++s) {
    ASSERT_EQ(r.sets[s].initialAnalysis.size(), 16u);
    const InitialEstimates& last = reading.initialAnalysis[s].back();
    EXPECT_EQ(r.sets[s].initialAnalysis.back().thresholdPercent, 30);
    EXPECT_EQ(r.sets[s].initialAnalysis.back().kla, double(last.KLa));
  }
  ASSERT_TRUE(r.averages.sote);
  ASSERT_TRUE(r.averages.stdErr);
  EXPECT_EQ(*r.averages.kla20, book->value(3, cells::kAverageRow, cells::kKLa20Column).asDouble());

  // Without a reading summary the initial analysis is left empty.
  EXPECT_TRUE(runRecordOf(run, {}).sets[1].initialAnalysis.empty());
}

TEST_F(Record, WithoutAnAirFlowThereIsNoSote) {
  const assess::RunRecord r = analyse(0);
  EXPECT_FALSE(r.sets[1].figures.sote);
  EXPECT_FALSE(r.averages.sote);
}

// The assessment's trimming cuts where the Run cut, and fails as it would.
TEST_F(Record, TheProgramsTrimmingKeepsWhatTheRunKept) {
  const assess::RunRecord r = analyse(50);
  for (const assess::SetRecord& s : r.sets) {
    const assess::Readings kept = trimWithProgram(s.raw, s.startPercent);
    EXPECT_EQ(kept.times, s.kept.times) << s.set;
    EXPECT_EQ(kept.conc, s.kept.conc) << s.set;
  }
  EXPECT_EQ(trimWithProgram(r.sets[1].raw, 50).size(), r.sets[1].kept.size() - 1);  // 3.5 is at most 50 % of 8.55
  EXPECT_THROW(trimWithProgram(r.sets[1].raw, 100), Fault);
}

}  // namespace
}  // namespace vk

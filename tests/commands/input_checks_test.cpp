// Input that cannot be a test: the Reading command refuses it naming the
// cell, and writes nothing; the Run command checks every start threshold
// before it writes anything.

#include <gtest/gtest.h>

#include <functional>

#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "module1/Fault.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestBook.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

namespace c = cells;
using Op = MemoryWorkbook::Op;

struct Checks : ::testing::Test {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  std::shared_ptr<MemoryWorkbook> book = engine->book("/lab/test.xlsx");

  // Two probes of the worked example, 13 readings a minute apart.
  void SetUp() override {
    m.Engine = engine;
    m.WorkbookPath = "/lab/test.xlsx";
    m.WorkbookName = "test.xlsx";
    test::TestData d;
    d.times = test::workedTimes();
    d.sets = {test::workedConc(), test::workedConc()};
    test::writeTestSheet(*book, d);
  }
  void number(int row, int column, double v) { book->write(c::kTestSheet, row, column, Variant::dbl(v)); }
  void blank(int row, int column) { book->write(c::kTestSheet, row, column, Variant()); }

  // The Reading's fault, or "no fault"; it must not have written a cell.
  std::string readingFault() {
    book->clearLog();
    test::RecordingFeedback screen;
    std::string text = "no fault";
    try {
      ReadDataSets(m, screen);
    } catch (const Fault& fault) {
      text = fault.what();
      for (const auto& r : book->log())
        EXPECT_TRUE(r.op != Op::Write && r.op != Op::Clear) << "the Reading wrote before refusing: " << text;
    }
    return text;
  }
  void expectRefused(const std::string& expected) {
    const std::string text = readingFault();
    EXPECT_NE(text.find(expected), std::string::npos) << text;
  }
};

const int kC = c::kConditionColumn;

TEST_F(Checks, BlankConditionsAreRefusedButABlankAirFlowIsNoAirFlow) {
  for (int row = c::kNumPointsRow; row <= c::kTankVolumeRow; ++row) {
    SCOPED_TRACE(row);
    const Variant kept = book->value(c::kTestSheet, row, kC);
    blank(row, kC);
    expectRefused("sheet 1, cell C" + std::to_string(row) + " (" + c::conditionName(row) + ") is blank; it must be");
    book->write(c::kTestSheet, row, kC, kept);
  }
  blank(c::kAirFlowRow, kC);
  EXPECT_EQ(readingFault(), "no fault");
}

TEST_F(Checks, BlankReadingsAndTimesWithinTheCountsAreRefused) {
  blank(c::readingRow(5), c::concColumn(2));
  expectRefused(
      "Unusable input: sheet 1, cell I11 (reading 5 of data set 2) is blank; it must be a number from -0.5 "
      "to 100 mg/L.");
  number(c::readingRow(5), c::concColumn(2), 5.25);
  blank(c::readingRow(13), c::kTimeColumn);
  expectRefused("sheet 1, cell G19 (time of reading 13) is blank; it must be the minutes since the start of the test.");
  // Below the count nothing is read, blank or not.
  number(c::readingRow(13), c::kTimeColumn, 12);
  book->setBoolean(c::kTestSheet, c::readingRow(14), c::concColumn(1), true);
  EXPECT_EQ(readingFault(), "no fault");
}

TEST_F(Checks, LogicalValuesAndDatesAreRefused) {
  book->setBoolean(c::kTestSheet, c::kNumSetsRow, kC, true);
  expectRefused(
      "Type mismatch: sheet 1, cell C8 (data sets) holds a logical value (TRUE or FALSE); it must be a "
      "whole number from 1 to 6.");
  number(c::kNumSetsRow, kC, 2);
  book->setBoolean(c::kTestSheet, c::kWaterTempRow, kC, true);
  expectRefused("sheet 1, cell C9 (water temperature) holds a logical value");
  number(c::kWaterTempRow, kC, 15);
  book->setBoolean(c::kTestSheet, c::readingRow(3), c::concColumn(1), false);
  expectRefused("sheet 1, cell H9 (reading 3 of data set 1) holds a logical value");
  number(c::readingRow(3), c::concColumn(1), 3.49);
  book->setDateTime(c::kTestSheet, c::readingRow(2), c::kTimeColumn, 45658.375);
  expectRefused(
      "Type mismatch: sheet 1, cell G8 (time of reading 2) holds a date or time; enter the minutes since "
      "the start of the test instead (0 for the first reading).");
}

TEST_F(Checks, CountsAreWholeAndFitTheSheetAndTheirCellIsNamed) {
  number(c::kNumSetsRow, kC, 3.5);  // would read as 4: "data set 4" must not be spoken of
  const std::string half = readingFault();
  EXPECT_NE(half.find("sheet 1, cell C8 (data sets) holds 3.5; it must be a whole number from 1 to 6."),
            std::string::npos)
      << half;
  EXPECT_EQ(half.find("data set 4"), std::string::npos) << half;
  number(c::kNumSetsRow, kC, 7);
  expectRefused("sheet 1, cell C8 (data sets) holds 7; it must be a whole number from 1 to 6.");
  number(c::kNumSetsRow, kC, 2);
  number(c::kNumPointsRow, kC, 32767);
  expectRefused(
      "sheet 1, cell C7 (readings per data set) holds 32767; it must be a whole number from 4 to 32761 "
      "(the analysis needs at least 4, and the readings stand in rows 7 to 32767 of sheet 1).");
  number(c::kNumPointsRow, kC, 40000);
  expectRefused("sheet 1, cell C7 holds 40000, outside the range of a 16-bit integer");
  number(c::kNumPointsRow, kC, 1e308);
  expectRefused("sheet 1, cell C7 holds 1e+308, outside");
  number(c::kNumPointsRow, kC, 12.5);
  expectRefused("sheet 1, cell C7 (readings per data set) holds 12.5; it must be a whole number");
}

TEST_F(Checks, ValuesNoTestCanHaveAreRefusedAndTheLimitsThemselvesAccepted) {
  struct Limit {
    int row, column;
    double accepted, refused;
    std::string expected;
  };
  const std::string degrees =
      "\xC2\xB0"
      "C";
  const Limit limits[] = {
      {c::kWaterTempRow, kC, 45, 45.5,
       "C9 (water temperature) holds 45.5; it must be a number from 0 to 45 " + degrees},
      {c::kWaterTempRow, kC, 0, -0.5, "C9 (water temperature) holds -0.5; it must be a number from 0 to 45"},
      {c::kBaroPressRow, kC, 20, 19.9, "C10 (barometric pressure) holds 19.9; it must be a number from 20 to 32 inHg."},
      {c::kBaroPressRow, kC, 32, 760, "C10 (barometric pressure) holds 760; it must be a number from 20 to 32 inHg."},
      {c::kTankVolumeRow, kC, 0.01, 0, "C11 (tank volume) holds 0; it must be a number above 0 ft\xC2\xB3."},
      {c::kAirFlowRow, kC, 0, -1, "C12 (air flow) holds -1; it must be a number of 0 or more scfm."},
      {c::readingRow(1), c::concColumn(2), -0.5, -0.51,
       "I7 (reading 1 of data set 2) holds -0.51; it must be a number from -0.5 to 100 mg/L."},
      {c::readingRow(12), c::concColumn(1), 100, 100.5,
       "H18 (reading 12 of data set 1) holds 100.5; it must be a number from -0.5 to 100 mg/L."},
  };
  for (const Limit& l : limits) {
    SCOPED_TRACE(l.expected);
    const Variant kept = book->value(c::kTestSheet, l.row, l.column);
    number(l.row, l.column, l.refused);
    expectRefused("sheet 1, cell " + l.expected);
    number(l.row, l.column, l.accepted);
    EXPECT_EQ(readingFault(), "no fault");
    book->write(c::kTestSheet, l.row, l.column, kept);
  }
}

TEST_F(Checks, TimesMustIncrease) {
  number(c::readingRow(4), c::kTimeColumn, 2);
  expectRefused(
      "Unusable input: sheet 1, cell G10 (time of reading 4) holds 2, not later than the time of reading 3 "
      "(2 in G9); the times must increase from each reading to the next.");
  number(c::readingRow(4), c::kTimeColumn, 1.5);
  expectRefused("cell G10 (time of reading 4) holds 1.5, not later than the time of reading 3");
}

// The Run: every set's threshold before the first write; a blank one is 0 %.
struct Thresholds : Checks {
  void SetUp() override {
    Checks::SetUp();
    test::RecordingFeedback screen;
    ReadDataSets(m, screen);
  }
  void threshold(int set, const Variant& percent) {
    book->write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set), percent);
  }
  std::string runFault() {
    book->clearLog();
    test::RecordingFeedback screen;
    try {
      RunAnalysis(m, screen);
    } catch (const Fault& fault) {
      for (const auto& r : book->log()) EXPECT_TRUE(r.op != Op::Write && r.op != Op::Clear) << fault.what();
      return fault.what();
    }
    return "no fault";
  }
};

TEST_F(Thresholds, EveryThresholdIsCheckedBeforeTheRunWrites) {
  threshold(2, Variant::dbl(150));
  EXPECT_EQ(runFault(),
            "Unusable input: sheet 2, cell G45 (start threshold of data set 2) holds 150; it must be a "
            "number from 0 to 100 %.");
  threshold(2, Variant::dbl(-1));
  EXPECT_NE(runFault().find("cell G45 (start threshold of data set 2) holds -1"), std::string::npos);
  book->setBoolean(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(1), true);
  threshold(2, Variant::dbl(100));
  EXPECT_NE(runFault().find("cell A45 (start threshold of data set 1) holds a logical value"), std::string::npos);
}

TEST_F(Thresholds, ABlankThresholdIsNoThreshold) {
  threshold(1, Variant());
  threshold(2, Variant::dbl(0));
  EXPECT_EQ(runFault(), "no fault");
  EXPECT_EQ(book->value(c::kResultsSheet, c::kStartPercentResultRow, c::testColumn(1)), Variant::single(0));
}

}  // namespace
}  // namespace vk

#include <gtest/gtest.h>

#include "commands/ReadingCommand.h"
#include "intake/Conditions.h"
#include "tests/Digits.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestBook.h"
#include "workbook/Book.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

using Op = MemoryWorkbook::Op;

struct Reading : ::testing::Test {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  std::shared_ptr<MemoryWorkbook> book = engine->book("/lab/test.xlsx");
  test::RecordingFeedback screen;

  void SetUp() override {
    m.Engine = engine;
    m.WorkbookPath = "/lab/test.xlsx";
    m.WorkbookName = "test.xlsx";
  }
  void load(const test::TestData& data) {
    test::writeTestSheet(*book, data);
    book->clearLog();
  }
  Variant value2(int row, int column) const { return book->value(2, row, column); }
  size_t writes() const {
    size_t n = 0;
    for (const auto& r : book->log()) n += r.op == Op::Write || r.op == Op::Clear;
    return n;
  }
};

TEST_F(Reading, ConditionsConvertAsTheWorkbookConventionSays) {
  book->write(1, 7, 3, Variant::dbl(12.5));
  book->write(1, 8, 3, Variant::dbl(2.5));
  book->write(1, 9, 3, Variant::dbl(20.5));
  book->setText(1, 10, 3, "29.5");
  book->write(1, 11, 3, Variant::dbl(1000));
  ReadConditions(m);
  EXPECT_EQ(int(m.NumPoints), 12);
  EXPECT_EQ(int(m.NumSets), 2);
  EXPECT_EQ(m.WaterTemp, 20.5f);
  EXPECT_EQ(m.BaroPress, 29.5f);
  EXPECT_EQ(m.TankVolume, 1000.0f);
  EXPECT_EQ(m.AirFlow, 0.0f);  // empty C12
}

TEST_F(Reading, TwoSetsOfTenReadings) {
  test::TestData d;
  d.times = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  d.sets = {{1, 2.5f, 3.7f, 4.6f, 5.3f, 5.8f, 6.2f, 6.5f, 6.7f, 6.85f},
            {0.8f, 2.2f, 3.4f, 4.3f, 5.0f, 5.6f, 6.0f, 6.3f, 6.55f, 6.7f}};
  load(d);
  const ReadingSummary summary = ReadDataSets(m, screen);

  // Reads: per row, concentration and time for each set, nothing cached.
  std::vector<std::pair<int, int>> reads;
  for (const auto& r : book->log())
    if (r.op == Op::Read && r.column >= 7) reads.push_back({r.row, r.column});
  ASSERT_EQ(reads.size(), 40u);
  EXPECT_EQ(reads[0], std::make_pair(7, 8));
  EXPECT_EQ(reads[1], std::make_pair(7, 7));
  EXPECT_EQ(reads[2], std::make_pair(7, 9));
  EXPECT_EQ(reads[3], std::make_pair(7, 7));
  EXPECT_EQ(reads[39], std::make_pair(16, 7));

  // Sheet 2: four Singles per set and level in A-D and G-J, rows 7-22; the
  // summary holds the same table.
  ASSERT_EQ(summary.initialAnalysis.size(), 2u);
  for (int level = 1; level <= 16; ++level)
    for (int s = 1; s <= 2; ++s) {
      const int col = 6 * (s - 1) + 1;
      EXPECT_EQ(value2(6 + level, col), Variant::single(float((level - 1) * 2)));
      for (int k = 1; k <= 3; ++k) EXPECT_EQ(value2(6 + level, col + k).type(), Variant::Type::Single);
      EXPECT_EQ(value2(6 + level, col + 4).isEmpty(), true);
      ASSERT_EQ(summary.initialAnalysis[size_t(s - 1)].size(), 16u);
      const InitialEstimates& e = summary.initialAnalysis[size_t(s - 1)][size_t(level - 1)];
      EXPECT_EQ(value2(6 + level, col), Variant::single(e.StartPercent));
      EXPECT_EQ(value2(6 + level, col + 1), Variant::single(e.C0));
      EXPECT_EQ(value2(6 + level, col + 2), Variant::single(e.Cinf));
      EXPECT_EQ(value2(6 + level, col + 3), Variant::single(e.KLa));
    }
  EXPECT_EQ(value2(45, 1), Variant(Integer(1)));
  EXPECT_EQ(value2(45, 7), Variant(Integer(1)));
  EXPECT_EQ(value2(45, 13).isEmpty(), true);
  EXPECT_EQ(book->cells(2).size(), 16u * 8 + 2);

  // Level 1 keeps every reading: C0 is the first reading, Cinf 1.001 times the largest.
  EXPECT_EQ(value2(7, 2), Variant::single(1.0f));
  EXPECT_EQ(value2(7, 3), Variant::single(float(6.85f * 1.001)));
  EXPECT_EQ(m.StartPercent, 30.0f);
  EXPECT_EQ(m.ConcRaw(2, 10), 6.7f);
  EXPECT_EQ(book->shownSheet(), 2);
  EXPECT_EQ(book->selectedSheet(), 2);
  EXPECT_EQ(book->log().back().op, Op::Commit);

  std::vector<std::string> expected = {"beep",
                                       "Label1.Caption=Reading Data Sets...",
                                       "Label3.Visible=True",
                                       "ProgressBar1.Visible=True",
                                       "Min=0",
                                       "Max=10",
                                       "Label1.Caption=Initial analysis...",
                                       "Max=16",
                                       "Min=0",
                                       "cmdRead.Enabled=False",
                                       "cmdNext.Visible=True",
                                       "cmdNext.Enabled=True",
                                       "Label3.Visible=False",
                                       "Label1.Visible=False",
                                       "ProgressBar1.Visible=False",
                                       "beep"};
  EXPECT_EQ(screen.withoutValues(), expected);
  std::vector<std::string> values;
  for (int p = 1; p <= 10; ++p) values.push_back(std::to_string(p));
  values.push_back("0");
  for (int l = 1; l <= 16; ++l) values.push_back(std::to_string(l));
  EXPECT_EQ(screen.values(), values);
}

TEST_F(Reading, FirstReadingAboveThirtyPercentGivesSixteenEqualEstimates) {
  test::TestData d;
  d.times = {0, 2, 4, 6, 8};
  d.sets = {{4, 6, 7, 7.5f, 7.8f}};
  load(d);
  ReadDataSets(m, screen);
  for (int level = 2; level <= 16; ++level)
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(value2(6 + level, 1 + k), value2(7, 1 + k)) << level;
}

TEST_F(Reading, CountsAreCheckedBeforeAnythingIsWritten) {
  struct Case {
    int points, sets;
    const char* cell;
  };
  for (Case c : {Case{10, 0, "C8"}, Case{10, 7, "C8"}, Case{3, 2, "C7"}, Case{-1, 2, "C7"}}) {
    SCOPED_TRACE(c.cell);
    book->write(1, 7, 3, Integer::checked(c.points));
    book->write(1, 8, 3, Integer::checked(c.sets));
    book->clearLog();
    test::RecordingFeedback screen;
    try {
      ReadDataSets(m, screen);
      FAIL() << "no fault";
    } catch (const Fault& f) {
      EXPECT_NE(std::string(f.what()).find(std::string("sheet 1, cell ") + c.cell), std::string::npos) << f.what();
    }
    EXPECT_EQ(writes(), 0u);
    for (const auto& line : screen.lines) EXPECT_EQ(line.find("cmdNext"), std::string::npos);
  }
}

TEST_F(Reading, ATextReadingStopsTheCommandNamingTheCellAndSavesWhatWasWritten) {
  test::TestData d;
  d.times = {0, 1, 2, 3};
  d.sets = {{1, 2, 3, 4}};
  load(d);
  book->setText(1, 9, 8, "n/a");  // reading 3 of probe 1
  try {
    ReadDataSets(m, screen);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::TypeMismatch);
    EXPECT_NE(std::string(f.what()).find("sheet 1, cell H9"), std::string::npos) << f.what();
  }
  EXPECT_EQ(book->log().back().op, Op::Commit);
  EXPECT_EQ(screen.lines.back(), "Value=3");
}

TEST_F(Reading, ASetWithTooFewReadingsAboveAThresholdFailsAtThatLevel) {
  test::TestData d;
  d.times = {0, 1, 2, 3, 4};
  d.sets = {{0.1f, 0.2f, 0.3f, 10, 10.5f}};  // from 4 % on only two readings remain
  load(d);
  EXPECT_THROW(ReadDataSets(m, screen), Fault);
  EXPECT_EQ(value2(8, 1).isEmpty(), false);  // levels 1 and 2 written
  EXPECT_EQ(value2(9, 1).isEmpty(), true);
  EXPECT_EQ(value2(45, 1).isEmpty(), true);  // the default threshold not
}

}  // namespace
}  // namespace vk

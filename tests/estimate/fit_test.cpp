#include <gtest/gtest.h>

#include <vector>

#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "tests/Digits.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

struct FitBench {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  TrimWork work;
  FitLocals fit;

  FitBench(const std::vector<std::vector<float>>& sets, const std::vector<float>& times) {
    m.Engine = engine;
    m.WorkbookPath = m.WorkbookName = "fit.xlsx";
    OpenBook(m);
    m.NumSets = Integer::checked(long(sets.size()));
    m.NumPoints = Integer::checked(long(times.size()));
    m.dimensionReadings(m.NumSets, m.NumPoints);
    for (size_t s = 0; s < sets.size(); ++s)
      for (size_t p = 0; p < times.size(); ++p) {
        m.ConcRaw(int(s) + 1, int(p) + 1) = sets[s][p];
        m.TimesRaw(int(s) + 1, int(p) + 1) = times[p];
      }
    RestoreData(m);
  }
  bool run(int set, float startPercent) {
    m.StartPercent = startPercent;
    SelectFitWindow(m, work, set);
    StartEstimates(m, work, set);
    StartFit(m, fit, set);
    return FitDataSet(m, fit, set);
  }
  MemoryWorkbook& book() { return *engine->book("fit.xlsx"); }
  Variant history(int set, int pass, int offset) {
    return book().value(cells::kResultsSheet, cells::historyRow(pass), cells::resultColumn(set) + offset);
  }
};

const std::vector<float> kWorkedConc = {0.53f, 2.14f, 3.49f, 4.41f, 5.25f, 5.87f, 6.3f,
                                        6.75f, 6.97f, 7.17f, 7.4f,  7.52f, 7.61f};
const std::vector<float> kWorkedTimes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

TEST(Fit, WorkedExampleOfThirteenReadings) {
  FitBench b({kWorkedConc}, kWorkedTimes);
  ASSERT_TRUE(b.run(1, 10));
  EXPECT_EQ(int(b.fit.PassCount[1]), 4);

  const char* rows[4][5] = {{"1", "7.6176", "2.14", "0.37372", "1.5174"},
                            {"2", "7.8034", "2.1775", "0.23680", "0.55815"},
                            {"3", "7.9751", "2.1502", "0.25263", "0.010166"},
                            {"4", "7.9823", "2.1496", "0.25205", "0.010103"}};
  for (int pass = 1; pass <= 4; ++pass) {
    SCOPED_TRACE(pass);
    EXPECT_EQ(b.history(1, pass, 0), Variant(Integer::checked(pass)));
    for (int offset = 1; offset <= 4; ++offset) EXPECT_DIGITS(b.history(1, pass, offset).asDouble(), rows[pass - 1][offset]);
    for (int offset = 1; offset <= 3; ++offset) EXPECT_EQ(b.history(1, pass, offset).type(), Variant::Type::Single);
    // The sum of squares is a Single after the starting evaluation, a Double once adopted.
    EXPECT_EQ(b.history(1, pass, 4).type(), pass == 1 ? Variant::Type::Single : Variant::Type::Double);
  }
  EXPECT_TRUE(b.history(1, 5, 0).isEmpty());

  // The final estimates are those pass 4 started from.
  EXPECT_DIGITS(b.m.Cinf[1], "7.9823");
  EXPECT_DIGITS(b.m.C0[1], "2.1496");
  EXPECT_DIGITS(b.m.KLa[1], "0.25205");
  EXPECT_EQ(b.fit.StdErr[1].type(), Variant::Type::Double);
  EXPECT_DIGITS(b.fit.StdErr[1].asDouble(), "0.033505");
  EXPECT_DOUBLE_EQ(b.fit.ResVar[1].asDouble(), b.fit.StdErr[1].asDouble() * b.fit.StdErr[1].asDouble());
  // Model values and residuals belong to the trial of the converging pass.
  for (int j = 1; j <= 12; ++j) EXPECT_FLOAT_EQ(b.m.Resid(1, j), b.m.Conc(1, j) - b.m.ConcFit(1, j));
}

TEST(Fit, StartingEstimatesWithinToleranceConvergeInTheFirstPass) {
  // Readings on an exact curve, and the fit started from that curve: the
  // first step is negligible, pass 1 converges, the estimates stay.
  std::vector<float> times, conc;
  for (int t = 0; t <= 40; ++t) {
    times.push_back(float(t));
    conc.push_back(float(10.01 - 9.0 * std::exp(-0.3 * t)));
  }
  FitBench b({conc}, times);
  b.m.StartPercent = 0;
  SelectFitWindow(b.m, b.work, 1);
  b.m.Cinf[1] = 10.01f;
  b.m.C0[1] = conc[0];
  b.m.KLa[1] = 0.3f;
  StartFit(b.m, b.fit, 1);
  ASSERT_TRUE(FitDataSet(b.m, b.fit, 1));
  EXPECT_EQ(int(b.fit.PassCount[1]), 1);
  EXPECT_EQ(b.m.Cinf[1], 10.01f);
  EXPECT_EQ(b.m.KLa[1], 0.3f);
  EXPECT_TRUE(b.history(1, 2, 0).isEmpty());
  EXPECT_FALSE(b.fit.StdErr[1].isEmpty());
}

TEST(Fit, ASetThatDoesNotConvergeStopsAfterElevenPasses) {
  // Readings on a straight line: the curve flattens towards it pass after
  // pass without settling.
  FitBench b({{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_FALSE(b.run(1, 0));
  EXPECT_EQ(int(b.fit.PassCount[1]), 11);
  EXPECT_EQ(b.history(1, 11, 0), Variant(Integer(11)));
  EXPECT_TRUE(b.fit.StdErr[1].isEmpty());
  EXPECT_TRUE(b.fit.ResVar[1].isEmpty());
  // The reported estimates are those pass 11 started from.
  EXPECT_EQ(Variant::single(b.m.Cinf[1]), b.history(1, 11, 1));
  EXPECT_EQ(Variant::single(b.m.KLa[1]), b.history(1, 11, 3));
}

TEST(Fit, ThreeOrFourKeptReadingsGiveNoOrOneDegreeOfFreedom) {
  {
    // Three readings: three parameters fit them exactly (a zero trial sum of
    // squares is no fault), and there is no variance to estimate.
    FitBench b({{2, 5, 6.5f}}, {0, 1, 2});
    ASSERT_TRUE(b.run(1, 0));
    EXPECT_NEAR(b.m.Cinf[1], 8.0, 1e-4);
    EXPECT_TRUE(b.fit.ResVar[1].isEmpty());
    EXPECT_TRUE(b.fit.StdErr[1].isEmpty());
  }
  {
    FitBench b({{2, 5, 6.5f, 7.4f}}, {0, 1, 2, 3});
    ASSERT_TRUE(b.run(1, 0));
    double sumSqTry = 0;
    for (int j = 1; j <= 4; ++j) sumSqTry += float(double(b.m.Resid(1, j)) * b.m.Resid(1, j));
    EXPECT_DOUBLE_EQ(b.fit.ResVar[1].asDouble(), sumSqTry);
  }
}

TEST(Fit, HistoryOfEachSetGoesIntoItsOwnBlock) {
  FitBench b({kWorkedConc, kWorkedConc, kWorkedConc}, kWorkedTimes);
  ASSERT_TRUE(b.run(3, 10));
  EXPECT_TRUE(b.history(1, 1, 0).isEmpty());
  EXPECT_EQ(b.book().value(3, 11, 24), Variant(Integer(1)));  // X11
  EXPECT_DIGITS(b.book().value(3, 14, 25).asDouble(), "7.9823");  // Y14
}

TEST(FitFaults, NumericalFailuresAreFaultsNamingSetAndPass) {
  // All readings on one time except the first: the normal matrix is singular.
  FitBench b({{1, 2, 2, 2, 2}}, {0, 1, 1, 1, 1});
  b.m.StartPercent = 0;
  SelectFitWindow(b.m, b.work, 1);
  b.m.Cinf[1] = 2.002f;
  b.m.C0[1] = 1;
  b.m.KLa[1] = 0;  // makes the first column of the Jacobian zero
  StartFit(b.m, b.fit, 1);
  try {
    FitDataSet(b.m, b.fit, 1);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::DivisionByZero);
    EXPECT_NE(std::string(f.what()).find("data set 1, fit pass 1"), std::string::npos) << f.what();
  }
  // An exponential that overflows: a large negative KLa over a long time.
  FitBench big({{1, 2, 3, 4}}, {0, 1000, 2000, 3000});
  big.m.StartPercent = 0;
  SelectFitWindow(big.m, big.work, 1);
  big.m.Cinf[1] = 5;
  big.m.C0[1] = 1;
  big.m.KLa[1] = -1;
  try {
    StartFit(big.m, big.fit, 1);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::Overflow);
  }
}

}  // namespace
}  // namespace vk

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "tests/Digits.h"
#include "tests/support/WorkedExample.h"

namespace vk {
namespace {

namespace worked = test::worked;

struct FitBench {
  Module1 m;
  TrimWork work;
  FitLocals fit;
  FitOptions options;
  FitSummary summary;
  // The history the callbacks report, as the rows of the results sheet hold
  // it: (set, pass, offset) with the pass number at offset 0.
  std::map<std::tuple<int, int, int>, Variant> rows;
  std::vector<std::string> events;

  FitBench(const std::vector<std::vector<float>>& sets, const std::vector<float>& times) {
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
    return fitSet(set);
  }
  bool fitSet(int set) {
    FitCallbacks record;
    record.passStarted = [this, set](Integer pass) {
      events.push_back("start " + std::to_string(pass));
      rows[{set, pass, 0}] = Variant(pass);
    };
    record.passEnded = [this, set](const FitPass& p) {
      events.push_back("end " + std::to_string(p.pass));
      rows[{set, p.pass, 1}] = Variant::single(p.cinf);
      rows[{set, p.pass, 2}] = Variant::single(p.c0);
      rows[{set, p.pass, 3}] = Variant::single(p.kla);
      rows[{set, p.pass, 4}] = p.sumSq;
    };
    summary = FitDataSet(m, fit, set, options, record);
    return summary.converged();
  }
  Variant history(int set, int pass, int offset) {
    auto it = rows.find({set, pass, offset});
    return it == rows.end() ? Variant() : it->second;
  }
};

TEST(Fit, WorkedExampleOfThirteenReadings) {
  FitBench b({test::workedConc()}, test::workedTimes());
  ASSERT_TRUE(b.run(1, 10));
  EXPECT_EQ(int(b.fit.PassCount[1]), worked::kPassCount);

  for (int pass = 1; pass <= worked::kPassCount; ++pass) {
    SCOPED_TRACE(pass);
    const worked::Pass& row = worked::kPasses[pass - 1];
    EXPECT_EQ(b.history(1, pass, 0), Variant(Integer::checked(pass)));
    EXPECT_DIGITS(b.history(1, pass, 1).asDouble(), row.cinf);
    EXPECT_DIGITS(b.history(1, pass, 2).asDouble(), row.c0);
    EXPECT_DIGITS(b.history(1, pass, 3).asDouble(), row.kla);
    EXPECT_DIGITS(b.history(1, pass, 4).asDouble(), row.sumSq);
    for (int offset = 1; offset <= 3; ++offset) EXPECT_EQ(b.history(1, pass, offset).type(), Variant::Type::Single);
    // The sum of squares is a Single after the starting evaluation, a Double once adopted.
    EXPECT_EQ(b.history(1, pass, 4).type(), pass == 1 ? Variant::Type::Single : Variant::Type::Double);
  }
  EXPECT_TRUE(b.history(1, 5, 0).isEmpty());

  // The final estimates are those pass 4 started from.
  EXPECT_DIGITS(b.m.Cinf[1], worked::kResult.cinf);
  EXPECT_DIGITS(b.m.C0[1], worked::kResult.c0);
  EXPECT_DIGITS(b.m.KLa[1], worked::kResult.kla);
  EXPECT_EQ(b.fit.StdErr[1].type(), Variant::Type::Double);
  EXPECT_DIGITS(b.fit.StdErr[1].asDouble(), worked::kStdErr);
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
  ASSERT_TRUE(b.fitSet(1));
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

TEST(FitSolver, OptionsDecideWhichTestStopsThePassesAndTheSummarySaysSo) {
  FitBench standard({test::workedConc()}, test::workedTimes());
  ASSERT_TRUE(standard.run(1, 10));
  EXPECT_EQ(standard.summary.passes, worked::kPassCount);
  EXPECT_EQ(standard.summary.stop, FitStop::StepsSmall);
  EXPECT_DIGITS(standard.summary.initialSumSq, worked::kStart.sumSq);
  EXPECT_DIGITS(standard.summary.finalSumSq, worked::kResult.sumSq);

  // Pass 3 changes the sum of squares by 0.6 %: a tolerance of 1 % stops
  // there by test (2), a limit of three passes by test (3); either way with
  // the estimates pass 3 started from.
  FitBench loose({test::workedConc()}, test::workedTimes());
  loose.options.sumSqTolerance = 0.01;
  ASSERT_TRUE(loose.run(1, 10));
  EXPECT_EQ(loose.summary.passes, 3);
  EXPECT_EQ(loose.summary.stop, FitStop::SumSqSteady);
  EXPECT_DIGITS(loose.m.Cinf[1], worked::kPasses[2].cinf);
  FitBench limited({test::workedConc()}, test::workedTimes());
  limited.options.maxPasses = 3;
  ASSERT_FALSE(limited.run(1, 10));
  EXPECT_EQ(limited.summary.stop, FitStop::PassLimit);
  EXPECT_EQ(limited.summary.finalSumSq, limited.history(1, 3, 4).asDouble());
  EXPECT_TRUE(limited.fit.StdErr[1].isEmpty());
  EXPECT_EQ(limited.events, (std::vector<std::string>{"start 1", "end 1", "start 2", "end 2", "start 3", "end 3"}));
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
    b.fitSet(1);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::DivisionByZero);
    EXPECT_NE(std::string(f.what()).find("data set 1, fit pass 1"), std::string::npos) << f.what();
    // And what the user can do about it.
    EXPECT_NE(std::string(f.what()).find("check the readings of data set 1"), std::string::npos) << f.what();
    EXPECT_NE(std::string(f.what()).find("raise its start threshold"), std::string::npos) << f.what();
  }
  // The pass had started, so its number is reported; it never ended.
  EXPECT_EQ(b.events, std::vector<std::string>{"start 1"});
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
    EXPECT_NE(std::string(f.what()).find("check the readings of data set 1"), std::string::npos) << f.what();
  }
  // A fault of whoever keeps the history is no fault of the fit: it passes as it is.
  FitBench listened({test::workedConc()}, test::workedTimes());
  listened.run(1, 10);
  FitCallbacks failing;
  failing.passStarted = [](Integer) { throw Fault(FaultKind::Workbook, "the history could not be written"); };
  StartFit(listened.m, listened.fit, 1);
  try {
    FitDataSet(listened.m, listened.fit, 1, {}, failing);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(std::string(f.what()), "Workbook error: the history could not be written");
  }
}

}  // namespace
}  // namespace vk

// The checklist on tests the program analyses: a sound test passes every
// check, and each way a test can go wrong makes exactly its own check warn.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <stdexcept>

#include "assess/Assessment.h"
#include "tests/assess/Scenarios.h"

namespace vk::assess {
namespace {

using test::ProbeShape;

Assessment assessed(const RunRecord& record, bool fullCurve = false) {
  return assess(record, Criteria(), {vk::trimWithProgram, fullCurve});
}

std::set<std::pair<std::string, int>> notPassed(const Assessment& a) {
  std::set<std::pair<std::string, int>> out;
  for (const auto& c : a.checks)
    if (c.verdict != Verdict::Pass) out.insert({std::string(c.row->name) + " " + verdictName(c.verdict), c.set});
  return out;
}

TEST(Checklist, ASoundTestPassesEveryCheckWithFiniteIntervalsAroundItsEstimates) {
  const RunRecord record = test::runProgram(test::sixProbeTest());
  const Assessment a = assessed(record);
  EXPECT_EQ(notPassed(a), (std::set<std::pair<std::string, int>>{}));
  EXPECT_EQ(a.checks.size(), 6 * 10 + 2u);
  EXPECT_EQ(a.worst(), Verdict::Pass);

  for (const auto& s : a.sets) {
    SCOPED_TRACE(s.set);
    ASSERT_TRUE(s.parameters);
    ASSERT_TRUE(s.standard);
    for (int p = 0; p < kParameters; ++p) {
      const Interval ci = s.parameters->ci95[std::size_t(p)];
      EXPECT_TRUE(std::isfinite(ci.low) && std::isfinite(ci.high));
      EXPECT_LT(ci.low, s.optimum.params[p]);
      EXPECT_GT(ci.high, s.optimum.params[p]);
    }
    for (const StandardEstimate* e : {&s.standard->kla20, &s.standard->cinf20, &s.standard->sotr, &*s.standard->sote})
      EXPECT_TRUE(std::isfinite(e->se) && e->ci95.low < e->value && e->value < e->ci95.high);
    EXPECT_EQ(s.truncation.points.size(), 2u);
  }
  ASSERT_TRUE(a.spread.kla20 && a.spread.sote);
  EXPECT_LT(a.spread.kla20->meanCi95.low, a.spread.kla20->mean);
}

struct Fault {
  const char* name;
  std::function<test::ProgramTest()> make;
  std::set<std::pair<std::string, int>> expected;
};

class OneWarning : public ::testing::TestWithParam<Fault> {};

TEST_P(OneWarning, OnlyItsOwnCheckWarns) {
  const Assessment a = assessed(test::runProgram(GetParam().make()));
  EXPECT_EQ(notPassed(a), GetParam().expected);
  EXPECT_EQ(a.worst(), Verdict::Warn);
}

std::set<std::pair<std::string, int>> everySet(const char* check) {
  std::set<std::pair<std::string, int>> out;
  for (int s = 1; s <= 6; ++s) out.insert({std::string(check) + " warn", s});
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OneWarning,
    ::testing::Values(
        // The readings share one clock, so a test cut short stops every probe near 80 % of C-infinity.
        Fault{"StopsAt80Percent", [] { return test::sixProbeTest(15, {}, 0.0215); }, everySet("end-level")},
        Fault{"StartsAt60Percent",
              [] {
                return test::sixProbeTest(15, [](int probe, ProbeShape& p) {
                  if (probe == 2) p.c0 = 0.6 * p.cinf;
                });
              },
              {{"start-level warn", 3}}},
        Fault{"DriftInResiduals",
              [] {
                return test::sixProbeTest(15, [](int probe, ProbeShape& p) {
                  if (probe == 3) p.disturbance = [](double t) { return 0.04 * std::sin(t / 2); };
                });
              },
              {{"residuals-random warn", 4}}},
        Fault{"OneProbeFarFromTheOthers",
              [] {
                return test::sixProbeTest(15, [](int probe, ProbeShape& p) {
                  if (probe == 5) p.kla = 0.27;
                });
              },
              {{"probe-outlier warn", 6}}},
        Fault{"ColdTest", [] { return test::sixProbeTest(5); }, {{"water-temperature warn", 0}}}),
    [](const auto& info) { return info.param.name; });

TEST(Checklist, AFitThatDidNotConvergeOrKeptTooFewReadingsFails) {
  RunRecord record = test::runProgram(test::sixProbeTest());
  record.sets[0].fit.solver.converged = false;
  record.sets[1].kept.times.resize(3);
  record.sets[1].kept.conc.resize(3);
  const Assessment a = assessed(record);
  EXPECT_EQ(a.worst(), Verdict::Fail);
  const auto bad = notPassed(a);
  EXPECT_TRUE(bad.count({"fit-converged fail", 1}));
  EXPECT_TRUE(bad.count({"kept-readings fail", 2}));
  // Three readings leave no degree of freedom: no interval, so that check
  // cannot be made.
  EXPECT_TRUE(bad.count({"kla-interval not applicable", 2}));
  EXPECT_FALSE(a.sets[1].parameters);
}

TEST(Checklist, AFigureThatIsNotANumberCannotBeJudgedAndARecordThatDoesNotPairUpIsRefused) {
  RunRecord record = test::runProgram(test::sixProbeTest());
  record.sets[2].figures.cinf20 = std::nan("");
  EXPECT_EQ(notPassed(assessed(record)), (std::set<std::pair<std::string, int>>{{"depth-positive not applicable", 3}}));

  record.sets[2].kept.times.pop_back();
  EXPECT_THROW(assessed(record), std::invalid_argument);
}

TEST(Checklist, OneProbeHasNoSpreadAndNoOutlier) {
  test::ProgramTest t = test::sixProbeTest();
  t.sets.resize(1);
  const Assessment a = assessed(test::runProgram(t));
  EXPECT_EQ(notPassed(a), (std::set<std::pair<std::string, int>>{{"probe-outlier not applicable", 1},
                                                                 {"probe-spread not applicable", 0}}));
  EXPECT_FALSE(a.spread.kla20);
  EXPECT_EQ(a.spread.kla20.reason, "one probe");
}

TEST(Truncation, AThresholdThatCannotBeTrimmedIsNotApplicableNotAFault) {
  const RunRecord record = test::runProgram(test::sixProbeTest());
  const Trimming failsAbove10 = [](const Readings& raw, double percent) {
    if (percent > 10) throw std::runtime_error("no reading is above the start threshold");
    return vk::trimWithProgram(raw, percent);
  };
  const Assessment a = assess(record, Criteria(), {failsAbove10, true});
  const Truncation& t = a.sets[0].truncation;
  ASSERT_EQ(t.points.size(), 16u);
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(t.points[i].thresholdPercent, 2.0 * double(i));
    EXPECT_EQ(bool(t.points[i].fit), i <= 5);
  }
  EXPECT_NE(t.points[10].fit.reason.find("no reading is above"), std::string::npos);
  EXPECT_FALSE(t.kla20ChangePercent);
  EXPECT_EQ(notPassed(a).count({"truncation not applicable", 1}), 1u);
}

TEST(Truncation, TheCurveFollowsTheProgramsTrimming) {
  const RunRecord record = test::runProgram(test::sixProbeTest());
  const Assessment a = assessed(record, true);
  const Truncation& t = a.sets[0].truncation;
  for (std::size_t i = 1; i < t.points.size(); ++i) {
    EXPECT_LE(t.points[i].kept, t.points[i - 1].kept);
    ASSERT_TRUE(t.points[i].fit);
  }
  // At 0 % every reading is kept: the fit is the optimum of the whole set.
  EXPECT_EQ(t.points[0].kept, 300);
  EXPECT_EQ(t.points[10].kept, int(vk::trimWithProgram(record.sets[0].raw, 20).size()));
  EXPECT_DOUBLE_EQ(*t.kla20ChangePercent,
                   100 * (t.points[10].fit->kla20 - t.points[0].fit->kla20) / t.points[0].fit->kla20);
}

}  // namespace
}  // namespace vk::assess

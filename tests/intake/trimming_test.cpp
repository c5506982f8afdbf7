#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "intake/Trimming.h"
#include "tests/Digits.h"
#include "tests/support/WorkedExample.h"

namespace vk {
namespace {

// A module with one or more sets of readings, restored as for a pass.
Module1 withReadings(std::initializer_list<std::vector<float>> sets, std::vector<float> times) {
  Module1 m;
  m.NumSets = Integer::checked(long(sets.size()));
  m.NumPoints = Integer::checked(long(times.size()));
  m.dimensionReadings(m.NumSets, m.NumPoints);
  int s = 0;
  for (const auto& conc : sets) {
    ++s;
    for (size_t p = 0; p < times.size(); ++p) {
      m.ConcRaw(s, int(p) + 1) = conc[p];
      m.TimesRaw(s, int(p) + 1) = times[p];
    }
  }
  RestoreData(m);
  return m;
}

TEST(StartTrimming, WorkedExampleOfFiveReadings) {
  Module1 m = withReadings({{1, 3, 5, 6, 6.5f}}, {0, 1, 2, 3, 4});
  m.StartPercent = 30;
  TrimWork work;
  SelectFitWindow(m, work, 1);
  EXPECT_FLOAT_EQ(work.StartLevel[1], 1.95f);
  EXPECT_EQ(m.NumKept[1], Variant(Integer(4)));
  EXPECT_EQ(m.TimeShift[1], 1.0f);
  const float kept[] = {3, 5, 6, 6.5f};
  for (int q = 1; q <= 4; ++q) {
    EXPECT_EQ(m.Conc(1, q), kept[q - 1]);
    EXPECT_EQ(m.Times(1, q), float(q - 1));
  }
  // Entries after the kept ones keep what they held.
  EXPECT_EQ(m.Conc(1, 5), 6.5f);

  StartEstimates(m, work, 1);
  EXPECT_DIGITS(m.Cinf[1], "6.5065");
  EXPECT_EQ(m.Cinf[1], float(6.5f * 1.001));
  EXPECT_DIGITS(m.KLa[1], "0.96742");
  EXPECT_EQ(m.C0[1], 3.0f);
}

TEST(StartTrimming, ThresholdOfTenPercentIsStoredAsASingle) {
  Module1 m = withReadings({test::workedConc()}, test::workedTimes());
  m.StartPercent = 10;
  TrimWork work;
  SelectFitWindow(m, work, 1);
  EXPECT_EQ(work.StartLevel[1], 0.76100004f);
  EXPECT_EQ(m.NumKept[1].asInteger(), 12);
  StartEstimates(m, work, 1);
  EXPECT_DIGITS(m.Cinf[1], test::worked::kStart.cinf);
  EXPECT_DIGITS(m.C0[1], test::worked::kStart.c0);
  EXPECT_DIGITS(m.KLa[1], test::worked::kStart.kla);
}

TEST(StartTrimming, OnlyTheFirstCrossingCountsAndEqualIsDropped) {
  // Threshold 50 % of 8 = 4: the reading equal to 4 is dropped, the dip
  // below 4 after the crossing stays.
  Module1 m = withReadings({{1, 4, 5, 3, 7, 8}}, {0, 2, 4, 6, 8, 10});
  m.StartPercent = 50;
  TrimWork work;
  SelectFitWindow(m, work, 1);
  EXPECT_EQ(m.NumKept[1].asInteger(), 4);
  EXPECT_EQ(m.TimeShift[1], 4.0f);
  EXPECT_EQ(m.Conc(1, 2), 3.0f);
  EXPECT_EQ(m.Times(1, 4), 6.0f);
}

TEST(StartTrimming, ZeroPercentKeepsEveryPositiveReading) {
  Module1 m = withReadings({{0.5f, 2, 3, 3.5f}}, {3, 4, 5, 6});
  m.StartPercent = 0;
  TrimWork work;
  SelectFitWindow(m, work, 1);
  EXPECT_EQ(m.NumKept[1].asInteger(), 4);
  EXPECT_EQ(m.TimeShift[1], 3.0f);
  EXPECT_EQ(m.Times(1, 1), 0.0f);
  EXPECT_EQ(m.Times(1, 4), 3.0f);
}

TEST(StartTrimming, RestoreBringsBackEverySetAsRead) {
  Module1 m = withReadings({{1, 3, 5, 6, 6.5f}, {2, 4, 6, 7, 7.5f}}, {0, 1, 2, 3, 4});
  m.StartPercent = 30;
  TrimWork work;
  SelectFitWindow(m, work, 1);
  SelectFitWindow(m, work, 2);
  ASSERT_NE(m.Conc(1, 1), 1.0f);
  RestoreData(m);
  for (int p = 1; p <= 5; ++p)
    for (int s = 1; s <= 2; ++s) {
      EXPECT_EQ(m.Conc(s, p), m.ConcRaw(s, p));
      EXPECT_EQ(m.Times(s, p), m.TimesRaw(s, p));
    }
}

TEST(StartTrimmingFaults, EachFailureIsAClearFault) {
  TrimWork work;
  {
    Module1 m = withReadings({{1, 2, 3, 4}}, {0, 1, 2, 3});
    m.StartPercent = 100;  // nothing is above the last reading itself
    try {
      SelectFitWindow(m, work, 1);
      FAIL() << "no fault";
    } catch (const Fault& f) {
      EXPECT_EQ(f.kind(), FaultKind::BadInput);
      EXPECT_NE(std::string(f.what()).find("data set 1"), std::string::npos) << f.what();
      EXPECT_NE(std::string(f.what()).find("no reading is above"), std::string::npos) << f.what();
    }
  }
  {
    Module1 m = withReadings({{1, 2, 3, 4}}, {0, 1, 2, 3});
    m.StartPercent = 60;  // keeps 3 and 4 only
    SelectFitWindow(m, work, 1);
    try {
      StartEstimates(m, work, 1);
      FAIL() << "no fault";
    } catch (const Fault& f) {
      EXPECT_NE(std::string(f.what()).find("at least three"), std::string::npos) << f.what();
    }
  }
  {
    Module1 m = withReadings({{1, 2, 3, 4}}, {5, 5, 5, 5});
    m.StartPercent = 0;
    SelectFitWindow(m, work, 1);
    EXPECT_THROW(
        try { StartEstimates(m, work, 1); } catch (const Fault& f) {
          EXPECT_EQ(f.kind(), FaultKind::DivisionByZero);
          throw;
        },
        Fault);
  }
  {
    // Negative readings: 1.001 times the largest is below the largest, so
    // its deficit is negative.
    Module1 m = withReadings({{-1, -3, -2, -4}}, {0, 1, 2, 3});
    m.StartPercent = 500;
    SelectFitWindow(m, work, 1);
    EXPECT_THROW(
        try { StartEstimates(m, work, 1); } catch (const Fault& f) {
          EXPECT_EQ(f.kind(), FaultKind::InvalidOperation);
          throw;
        },
        Fault);
  }
  {
    Module1 m = withReadings({{1, 2, 3, 4}}, {0, 1, 2, 3});
    EXPECT_THROW(
        try { SelectFitWindow(m, work, 7); } catch (const Fault& f) {
          EXPECT_EQ(f.kind(), FaultKind::SubscriptOutOfRange);
          throw;
        },
        Fault);
  }
}

}  // namespace
}  // namespace vk

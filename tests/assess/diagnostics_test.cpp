// Residual diagnostics and the spread between probes, on sequences whose
// statistics follow by hand.

#include <gtest/gtest.h>

#include <cmath>

#include "assess/Residuals.h"
#include "assess/Spread.h"

namespace vk::assess {
namespace {

TEST(ResidualDiagnostics, AlternatingSignsAreTooManyRuns) {
  // Mean 0, sum of squares 6, lag-1 products -5; six runs of one, where
  // random order expects 4 with variance 1.2.
  const auto d = diagnoseResiduals({1, -1, 1, -1, 1, -1}, 3);
  EXPECT_DOUBLE_EQ(*d.lag1Autocorrelation, -5.0 / 6.0);
  EXPECT_DOUBLE_EQ(*d.durbinWatson, 20.0 / 6.0);
  EXPECT_EQ(d.runs, 6);
  EXPECT_NEAR(*d.runsZ, 2 / std::sqrt(1.2), 1e-12);
  EXPECT_DOUBLE_EQ(*d.largestScaled, 1 / std::sqrt(6.0 / 3.0));
}

TEST(ResidualDiagnostics, ADriftIsTooFewRunsAndAPositiveAutocorrelation) {
  const auto d = diagnoseResiduals({-3, -2, -1, -0.5, 0.5, 1, 2, 3}, 3);
  EXPECT_EQ(d.positive, 4);
  EXPECT_EQ(d.negative, 4);
  EXPECT_EQ(d.runs, 2);
  EXPECT_LT(*d.runsZ, -1.96);
  EXPECT_GT(*d.lag1Autocorrelation, 0.5);
  EXPECT_LT(*d.durbinWatson, 1.0);
}

TEST(ResidualDiagnostics, ZeroResidualsAreLeftOutOfTheRunsAndDegenerateCasesAreNotApplicable) {
  const auto d = diagnoseResiduals({1, 0, 1, -1, 0, -1}, 3);
  EXPECT_EQ(d.positive + d.negative, 4);
  EXPECT_EQ(d.runs, 2);

  const auto oneSign = diagnoseResiduals({0.1, 0.2, 0.1, 0.3}, 3);
  EXPECT_FALSE(oneSign.runsZ);
  EXPECT_TRUE(oneSign.lag1Autocorrelation);

  const auto exact = diagnoseResiduals({0, 0, 0, 0, 0}, 3);
  EXPECT_FALSE(exact.lag1Autocorrelation);
  EXPECT_FALSE(exact.durbinWatson);
  EXPECT_FALSE(exact.runsZ);
  EXPECT_FALSE(exact.largestScaled);
  EXPECT_FALSE(diagnoseResiduals({0.1, -0.1, 0.2}, 3).largestScaled);  // no degree of freedom
}

TEST(Spread, MeanSdCvAndTheIntervalOfTheMean) {
  const auto s = spreadOf({10, 12, 14, 16});
  ASSERT_TRUE(s);
  EXPECT_EQ(s->probes, 4);
  EXPECT_DOUBLE_EQ(s->mean, 13);
  EXPECT_DOUBLE_EQ(s->sd, std::sqrt(20.0 / 3.0));
  EXPECT_DOUBLE_EQ(s->cvPercent, 100 * std::sqrt(20.0 / 3.0) / 13);
  // t(0.975, 3) = 3.182446
  EXPECT_NEAR((s->meanCi95.high - s->meanCi95.low) / 2, 3.182446 * s->sd / 2, 1e-5);

  EXPECT_FALSE(spreadOf({10}));
  EXPECT_EQ(spreadOf({10}).reason, "one probe");
}

TEST(Spread, DistanceFromTheOtherProbes) {
  // The others of index 3 are 10, 11, 12: mean 11, SD 1.
  EXPECT_DOUBLE_EQ(*distanceFromOthers({10, 11, 12, 15}, 3), 4.0);
  EXPECT_DOUBLE_EQ(*distanceFromOthers({10, 11, 12, 15}, 0), (38.0 / 3 - 10) / std::sqrt(13.0 / 3));
  EXPECT_FALSE(distanceFromOthers({10, 10, 10, 11}, 3));  // the others agree exactly
  // Three probes: the two others' spread would flag one of any three uneven
  // values (here 10 and 12 both lie 2.12 of it from the others), so the
  // check needs four.
  EXPECT_FALSE(distanceFromOthers({10, 11, 12}, 2));
  EXPECT_EQ(distanceFromOthers({10, 11, 12}, 2).reason, "fewer than four probes");
}

}  // namespace
}  // namespace vk::assess

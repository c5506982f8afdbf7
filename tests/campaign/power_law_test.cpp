// The power-law fit against values computed independently: exact a·Q^b
// recovered, and noisy data against a straight line through the logarithms
// fitted here from its textbook sums.

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "campaign/PowerLaw.h"

namespace vk::campaign {
namespace {

const std::vector<double> kFlows = {80, 130, 210, 340, 420, 505};

TEST(PowerLaw, ExactDataIsRecoveredToNineDigits) {
  struct Law {
    double a, b;
  };
  for (const Law law : {Law{45.3, -0.147}, Law{0.0173, 1.12}, Law{2.5e3, 0.5}}) {
    SCOPED_TRACE(std::to_string(law.a) + " Q^" + std::to_string(law.b));
    std::vector<double> y;
    for (double q : kFlows) y.push_back(law.a * std::pow(q, law.b));
    const auto fit = fitPowerLaw(kFlows, y);
    ASSERT_TRUE(fit) << fit.reason;
    EXPECT_NEAR(fit->a / law.a, 1, 1e-9);
    EXPECT_NEAR(fit->b, law.b, 1e-9);
    EXPECT_LT(fit->residualSd, 1e-9);
    EXPECT_LT(fit->seB, 1e-9);
    ASSERT_TRUE(fit->rSquared);
    EXPECT_NEAR(*fit->rSquared, 1, 1e-12);
    EXPECT_EQ(fit->points, 6);
    EXPECT_NEAR(fit->at(300) / (law.a * std::pow(300, law.b)), 1, 1e-9);
  }
}

// y = 31·Q^-0.18 with a deterministic scatter of a few per cent.
TEST(PowerLaw, NoisyDataAgreeWithAStraightLineThroughTheLogarithms) {
  const std::vector<double> scatter = {1.031, 0.962, 1.018, 0.991, 1.047, 0.974};
  std::vector<double> y;
  for (std::size_t i = 0; i < kFlows.size(); ++i) y.push_back(31 * std::pow(kFlows[i], -0.18) * scatter[i]);
  const auto fit = fitPowerLaw(kFlows, y);
  ASSERT_TRUE(fit) << fit.reason;

  // The same line from the sums: b = Sxy/Sxx, ln a = mean(ln y) - b mean(ln x).
  const double n = double(kFlows.size());
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < kFlows.size(); ++i) mx += std::log(kFlows[i]) / n, my += std::log(y[i]) / n;
  double sxx = 0, sxy = 0, syy = 0;
  for (std::size_t i = 0; i < kFlows.size(); ++i) {
    const double dx = std::log(kFlows[i]) - mx, dy = std::log(y[i]) - my;
    sxx += dx * dx, sxy += dx * dy, syy += dy * dy;
  }
  const double b = sxy / sxx, lnA = my - b * mx;
  double ssr = 0;
  for (std::size_t i = 0; i < kFlows.size(); ++i) {
    const double r = std::log(y[i]) - (lnA + b * std::log(kFlows[i]));
    ssr += r * r;
    EXPECT_NEAR(fit->residuals[i], r, 1e-12) << i;
  }
  const double s = std::sqrt(ssr / (n - 2));
  EXPECT_NEAR(fit->b, b, 1e-12);
  EXPECT_NEAR(std::log(fit->a), lnA, 1e-11);
  EXPECT_NEAR(fit->residualSd, s, 1e-12);
  EXPECT_NEAR(fit->seB, s / std::sqrt(sxx), 1e-12);
  EXPECT_NEAR(fit->seLnA, s * std::sqrt(1 / n + mx * mx / sxx), 1e-11);
  EXPECT_NEAR(*fit->rSquared, 1 - ssr / syy, 1e-12);
  // The scatter is real: the line does not pass through the points.
  EXPECT_GT(fit->residualSd, 0.01);
  EXPECT_LT(*fit->rSquared, 0.99);
}

TEST(PowerLaw, NeedsThreeDistinctFlowsAndPositiveValues) {
  EXPECT_FALSE(fitPowerLaw({100, 100, 200, 200}, {30, 31, 28, 27}));
  EXPECT_EQ(fitPowerLaw({100, 200}, {30, 28}).reason, "fewer than 3 workbooks with distinct air flows");
  EXPECT_TRUE(fitPowerLaw({100, 100, 200, 300}, {30, 31, 28, 27}));
  EXPECT_FALSE(fitPowerLaw({100, 200, 300}, {30, 0, 27}));
  EXPECT_FALSE(fitPowerLaw({100, 200, 300}, {30, NAN, 27}));
  EXPECT_FALSE(fitPowerLaw({0, 200, 300}, {30, 28, 27}));
  EXPECT_THROW(fitPowerLaw({100, 200, 300}, {30, 28}), std::invalid_argument);
  // Every value the same: a level line, whose R² means nothing.
  const auto level = fitPowerLaw({100, 200, 300}, {25, 25, 25});
  ASSERT_TRUE(level);
  EXPECT_NEAR(level->b, 0, 1e-12);
  EXPECT_FALSE(level->rSquared);
}

}  // namespace
}  // namespace vk::campaign

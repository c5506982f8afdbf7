#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "plot/Numbers.h"
#include "plot/Ticks.h"

namespace vk::plot {
namespace {

double parsed(const std::string& label) {
  double v = std::nan("");
  auto [end, error] = std::from_chars(label.data(), label.data() + label.size(), v);
  EXPECT_TRUE(error == std::errc() && end == label.data() + label.size()) << "unreadable label " << label;
  return v;
}

// Ticks of the next smaller nice step than `step`, from below low to above high.
double countWithSmallerStep(double low, double high, double step) {
  const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  const double mantissa = std::round(step / decade);
  const double smaller = mantissa == 1 ? decade / 2 : mantissa == 2 ? decade : 2 * decade;
  return std::ceil(high / smaller) - std::floor(low / smaller) + 1;
}

struct Range {
  double low, high;
};

// Test ranges of every kind the reports meet, and the extremes.
const Range kRanges[] = {{0, 1},           {0, 40},     {0.3, 0.7},   {-0.083, 0.061}, {-5, -1},      {-273.15, -0.5},
                         {6.43, 6.43},     {0, 0},      {-2, -2},     {1e-9, 3e-9},    {-1e-7, 2e-7}, {1e6, 1e6 + 0.5},
                         {123456, 123789}, {2e9, 9e12}, {1e15, 1e15}, {-1e300, 1e300}, {7, 3}};

TEST(NiceTicks, CoverTheRangeInOneTwoFiveStepsWithinTheCount) {
  for (const Range& r : kRanges) {
    for (int maxCount : {3, 5, 8, 12}) {
      SCOPED_TRACE(std::to_string(r.low) + " to " + std::to_string(r.high) + ", at most " + std::to_string(maxCount));
      const Ticks ticks = niceTicks(r.low, r.high, maxCount);
      const double low = std::min(r.low, r.high), high = std::max(r.low, r.high);
      ASSERT_GE(ticks.values.size(), 2u);
      EXPECT_LE(ticks.values.size(), std::size_t(maxCount));
      EXPECT_LE(ticks.values.front(), low);
      EXPECT_GE(ticks.values.back(), high);

      const double decade = std::pow(10.0, std::floor(std::log10(ticks.step) + 1e-9));
      const double mantissa = ticks.step / decade;
      EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
          << "step " << ticks.step;
      // The smallest step that fits: the next smaller one needs too many ticks.
      if (low < high) {
        EXPECT_GT(countWithSmallerStep(low, high, ticks.step), maxCount);
      }

      ASSERT_EQ(ticks.labels.size(), ticks.values.size());
      for (std::size_t i = 0; i < ticks.values.size(); ++i) {
        const double v = ticks.values[i];
        EXPECT_NEAR(v / ticks.step, std::round(v / ticks.step), 1e-6) << v << " is no multiple of the step";
        if (i > 0) {
          EXPECT_NEAR(v - ticks.values[i - 1], ticks.step, 1e-9 * std::max(std::fabs(v), ticks.step));
        }
        EXPECT_EQ(parsed(ticks.labels[i]), v) << ticks.labels[i];
        if (v == 0) {
          EXPECT_NE(ticks.labels[i][0], '-') << "a signed zero";
        }
        if (i > 0) {
          EXPECT_NE(ticks.labels[i], ticks.labels[i - 1]);
        }
      }
    }
  }
}

TEST(NiceTicks, ReadAsAReaderExpects) {
  const Ticks residuals = niceTicks(-0.083, 0.061, 8);
  EXPECT_EQ(residuals.labels, (std::vector<std::string>{"-0.10", "-0.05", "0.00", "0.05", "0.10"}));
  EXPECT_EQ(niceTicks(0, 40, 9).labels, (std::vector<std::string>{"0", "5", "10", "15", "20", "25", "30", "35", "40"}));
  EXPECT_EQ(niceTicks(0.3, 0.7, 5).labels, (std::vector<std::string>{"0.3", "0.4", "0.5", "0.6", "0.7"}));
  // A single value sits inside its ticks, not on their edge.
  const Ticks single = niceTicks(6.43, 6.43, 6);
  EXPECT_LT(single.values.front(), 6.43);
  EXPECT_GT(single.values.back(), 6.43);
  // Tiny and huge values in exponent form.
  EXPECT_EQ(niceTicks(1e-9, 3e-9, 3).labels, (std::vector<std::string>{"1e-9", "2e-9", "3e-9"}));
  EXPECT_EQ(niceTicks(0, 3e12, 4).labels, (std::vector<std::string>{"0", "1e12", "2e12", "3e12"}));
}

TEST(Numbers, SameTextEverywhereAndNoNegativeZero) {
  EXPECT_EQ(fixed(-0.001, 2), "0.00");
  EXPECT_EQ(fixed(-0.0, 0), "0");
  EXPECT_EQ(fixed(-1.25, 1), "-1.2");  // ties to even, as the double 1.25 is exact
  EXPECT_EQ(significant(double(6.43f), 6), "6.43");
  EXPECT_EQ(significant(double(12.5f), 6), "12.5");
  EXPECT_EQ(significant(9.9999999, 3), "10");
  EXPECT_EQ(significant(1234567, 3), "1234567");  // whole numbers are not rounded to tens
  EXPECT_EQ(significant(-0.000012345, 3), "-1.23e-5");
  EXPECT_EQ(significant(-0.0, 6), "0");
  EXPECT_EQ(coordinate(12.25), "12.3");
  EXPECT_EQ(coordinate(40.0), "40");
  EXPECT_EQ(coordinate(-0.04), "0");
  EXPECT_EQ(coordinate(-3.5), "-3.5");
  EXPECT_EQ(grouped(999), "999");
  EXPECT_EQ(grouped(32723), "32,723");
  EXPECT_EQ(grouped(1000000), "1,000,000");
}

}  // namespace
}  // namespace vk::plot

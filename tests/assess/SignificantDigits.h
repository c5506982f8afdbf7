#pragma once
// Agreement to a number of significant digits: within half a unit of the
// last of them, counted from the expected value's leading digit.

#include <gtest/gtest.h>

#include <cmath>

namespace vk::test {

inline ::testing::AssertionResult sameDigits(double actual, double expected, int digits) {
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(expected))) - (digits - 1));
  if (std::fabs(actual - expected) <= 0.5 * unit) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " and " << expected << " differ within " << digits
                                       << " significant digits";
}

}  // namespace vk::test

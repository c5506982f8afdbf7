#pragma once
// Compares a computed value with a figure printed to a number of digits: the
// value must round to the figure, i.e. lie within half a unit of its last
// printed digit.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vk::test {

inline double halfUnitOfLastDigit(const std::string& printed) {
  auto dot = printed.find('.');
  int decimals = dot == std::string::npos ? 0 : int(printed.size() - dot - 1);
  return 0.5 * std::pow(10.0, -decimals);
}

inline ::testing::AssertionResult roundsTo(double actual, const std::string& printed) {
  const double expected = std::stod(printed);
  const double tolerance = halfUnitOfLastDigit(printed) * (1 + 1e-9);
  if (std::fabs(actual - expected) <= tolerance) return ::testing::AssertionSuccess();
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.9g does not round to %s", actual, printed.c_str());
  return ::testing::AssertionFailure() << buf;
}

}  // namespace vk::test

#define EXPECT_DIGITS(actual, printed) EXPECT_TRUE(::vk::test::roundsTo((actual), (printed)))

#include <gtest/gtest.h>

#include "module1/Fault.h"
#include "report/WaterFormulas.h"
#include "tests/Digits.h"

namespace vk {
namespace {

TEST(PowerOf, ZeroBaseAndSinglePrecisionResults) {
  EXPECT_EQ(PowerOf(0, 3), 0.0f);
  EXPECT_EQ(PowerOf(0, -2), 0.0f);
  EXPECT_EQ(PowerOf(2, 3), 8.0f);
  EXPECT_DIGITS(PowerOf(1.024, 5), "1.1259");
  EXPECT_DIGITS(PowerOf(1.024, -5), "0.88818");
  EXPECT_EQ(PowerOf(1.024, -5), float(std::exp(-5.0 * std::log(1.024))));
  EXPECT_FLOAT_EQ(PowerOf(-2, 3), 0.125f);  // the reciprocal for a negative base
  EXPECT_THROW(PowerOf(10, 1000), Fault);
}

TEST(WaterProperties, PublishedValues) {
  EXPECT_DIGITS(VaporPressure(0), "0.177563");
  EXPECT_DIGITS(VaporPressure(20), "0.689999");
  EXPECT_DIGITS(VaporPressure(20) * 25.4, "17.52598");
  EXPECT_DIGITS(VaporPressure(30), "1.253285");

  // Single-precision third and fourth powers move the fifth digit: 9.09256,
  // where the same equation in double gives 9.092426.
  EXPECT_DIGITS(SatDO(20), "9.09256");
  const double tk = 293.15;
  const double doubleOnly = std::exp(-139.34411 + 157570.1 / tk - 66423080 / (tk * tk) +
                                     12438000000.0 / (tk * tk * tk) - 862194900000.0 / (tk * tk * tk * tk));
  EXPECT_DIGITS(doubleOnly, "9.092426");
  EXPECT_DIGITS(SatDO(0), "14.62056");
  EXPECT_DIGITS(SatDO(10), "11.28801");
  EXPECT_DIGITS(SatDO(30), "7.55873");

  EXPECT_DIGITS(WaterSpecWeight(0), "0.036121646");
  EXPECT_DIGITS(WaterSpecWeight(20), "0.036166228");
  EXPECT_DIGITS(WaterSpecWeight(30), "0.036188940");
}

TEST(WaterProperties, TemperatureBelowFreezingIsAFault) {
  try {
    WaterSpecWeight(-1);
    FAIL() << "no fault";
  } catch (const Fault& f) {
    EXPECT_EQ(f.kind(), FaultKind::InvalidOperation);
    EXPECT_NE(std::string(f.what()).find("below 0"), std::string::npos);
  }
}

}  // namespace
}  // namespace vk

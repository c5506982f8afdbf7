#include <gtest/gtest.h>

#include "module1/Fault.h"
#include "report/Standardise.h"
#include "report/WaterFormulas.h"
#include "tests/Digits.h"

namespace vk {
namespace {

TEST(Standardise, WorkedExampleAtFifteenDegrees) {
  StandardFigures f = Standardise({15, 29.5f, 1000, 50}, 10.5f, 0.1f, 1);
  EXPECT_DIGITS(f.Pv, "0.50138");
  EXPECT_DIGITS(f.CsT, "10.0839");
  EXPECT_DIGITS(f.SatDepthInHg, "1.63402");
  EXPECT_DIGITS(f.Omega, "0.98647");
  EXPECT_DIGITS(f.Tau, "1.10904");
  EXPECT_DIGITS(f.CinfStd, "9.5975");
  EXPECT_DIGITS(f.KLa20, "6.7554");
  EXPECT_DIGITS(f.KLaT, "6");
  EXPECT_EQ(f.SOTR.type(), Variant::Type::Single);
  EXPECT_DIGITS(f.SOTR.asDouble(), "4.0458");
  EXPECT_EQ(f.SOTE.type(), Variant::Type::Double);
  EXPECT_DIGITS(f.SOTE.asDouble(), "7.8104");
  EXPECT_DIGITS(f.SatDepthPsi, "0.80256");
  EXPECT_DIGITS(f.SatDepth, "1.84981");
}

TEST(Standardise, TwentyDegreesAndStandardPressure) {
  StandardFigures f = Standardise({20, 29.92f, 1000, 0}, 9.0f, 0.2f, 1);
  EXPECT_EQ(f.KLa20, f.KLaT);
  EXPECT_EQ(f.KLa20, float(0.2f * 60.0));
  // The saturation at 20 degrees differs from the constant in the fifth digit.
  EXPECT_EQ(f.Tau, 1.0000149f);
  EXPECT_FLOAT_EQ(f.Omega, 1.0f);
  EXPECT_TRUE(f.SOTE.isEmpty());  // no air flow
}

TEST(Standardise, SaturationAtStandardPressureMeansNoDepth) {
  const float csT = float(SatDO(20));
  StandardFigures f = Standardise({20, 29.92f, 1000, 10}, csT, 0.2f, 1);
  EXPECT_NEAR(f.SatDepth, 0.0, 1e-5);
}

TEST(RunningSums, KeepTheirVariantTypes) {
  RunningSums sums;
  StandardFigures noAir = Standardise({15, 29.5f, 1000, 0}, 10.5f, 0.1f, 1);
  sums.add(noAir, Variant());
  EXPECT_EQ(sums.SumKLa20.type(), Variant::Type::Single);
  EXPECT_EQ(sums.SumSOTE, Variant(Integer(0)));    // Empty adds nothing
  EXPECT_EQ(sums.SumStdErr, Variant(Integer(0)));  // nor does a missing standard error
  sums.add(noAir, Variant::dbl(0.5));
  EXPECT_EQ(sums.SumStdErr, Variant::dbl(0.5));
  EXPECT_EQ(sums.SumStdPress, Variant::single(float(double(29.92f) + 29.92f)));
  // Averages: a Single sum gives a Single, a Double sum a Double.
  EXPECT_EQ((sums.SumStdPress / Integer(2)).type(), Variant::Type::Single);
  EXPECT_FLOAT_EQ(float((sums.SumStdPress / Integer(2)).asDouble()), 29.92f);
  EXPECT_EQ(sums.SumStdErr / Integer(2), Variant::dbl(0.25));
  EXPECT_THROW(sums.SumKLa20 / Integer(0), Fault);
}

}  // namespace
}  // namespace vk

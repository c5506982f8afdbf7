// The assessment's double-precision correction to standard conditions must
// be the Run's own, and its propagation of the covariance the derivative of
// exactly that correction.

#include <gtest/gtest.h>

#include "assess/Standardisation.h"
#include "report/Standardise.h"

namespace vk::assess {
namespace {

struct Case {
  double temp, baro, volume, airFlow, cinf, kla;
};

StandardInputs inputsAsTheRunHasThem(const Case& c) {
  const vk::StandardFigures run = vk::Standardise({float(c.temp), float(c.baro), float(c.volume), float(c.airFlow)},
                                                  float(c.cinf), float(c.kla), 1);
  return {{c.temp, c.baro, c.volume, c.airFlow}, run.Pv, run.CsT};
}

class SameCorrection : public ::testing::TestWithParam<Case> {};

// The Run rounds to 32-bit floats along the way, so the two agree to about
// six digits, not to the last bit.
TEST_P(SameCorrection, AsTheRun) {
  const Case c = GetParam();
  const vk::StandardFigures run = vk::Standardise({float(c.temp), float(c.baro), float(c.volume), float(c.airFlow)},
                                                  float(c.cinf), float(c.kla), 1);
  const StandardFigures mine = standardise(inputsAsTheRunHasThem(c), float(c.cinf), float(c.kla));
  EXPECT_NEAR(mine.kla20, run.KLa20, 2e-6 * run.KLa20);
  EXPECT_NEAR(mine.cinf20, run.CinfStd, 2e-6 * run.CinfStd);
  EXPECT_NEAR(mine.sotr, run.SOTR.asDouble(), 4e-6 * run.SOTR.asDouble());
  ASSERT_EQ(mine.sote.has_value(), !run.SOTE.isEmpty());
  if (mine.sote) {
    EXPECT_NEAR(*mine.sote, run.SOTE.asDouble(), 4e-6 * run.SOTE.asDouble());
  }
}

INSTANTIATE_TEST_SUITE_P(Conditions, SameCorrection,
                         ::testing::Values(Case{15, 29.5, 1000, 50, 10.5, 0.1},  // the Run's worked example
                                           Case{20, 29.92, 35000, 400, 9.4, 0.21},
                                           Case{5, 30.4, 12000, 0, 13.9, 0.08},     // no air flow: no SOTE
                                           Case{28.5, 24.7, 800, 12, 7.1, 0.55}));  // warm, at altitude

TEST(DeltaMethod, IsTheCorrectionsDerivativeAppliedToTheCovariance) {
  const StandardInputs in = inputsAsTheRunHasThem({12, 29.1, 5000, 90, 11.2, 0.2});
  const CurveParams at{0.7, 11.2, 0.2};
  Eigen::Matrix3d cov;
  cov << 4e-4, 1e-5, -2e-6,  //
      1e-5, 9e-4, -3e-5,     //
      -2e-6, -3e-5, 4e-6;
  const double t = 2.0;
  const StandardUncertainty u = propagate(in, at, cov, t);

  // Central differences of the correction in Cinf and KLa.
  auto gradient = [&](auto figure) {
    const double hc = 1e-5 * at.cinf, hk = 1e-5 * at.kla;
    return Eigen::Vector2d{
        (figure(standardise(in, at.cinf + hc, at.kla)) - figure(standardise(in, at.cinf - hc, at.kla))) / (2 * hc),
        (figure(standardise(in, at.cinf, at.kla + hk)) - figure(standardise(in, at.cinf, at.kla - hk))) / (2 * hk)};
  };
  const Eigen::Matrix2d c2 = cov.bottomRightCorner<2, 2>();  // (Cinf, KLa)
  auto check = [&](const StandardEstimate& e, auto figure) {
    const Eigen::Vector2d g = gradient(figure);
    EXPECT_NEAR(e.se, std::sqrt(g.dot(c2 * g)), 1e-7 * e.se);
    EXPECT_DOUBLE_EQ(e.value, figure(standardise(in, at.cinf, at.kla)));
    EXPECT_NEAR(e.ci95.high - e.value, t * e.se, 1e-12 * e.value);
    EXPECT_NEAR(e.value - e.ci95.low, t * e.se, 1e-12 * e.value);
  };
  check(u.kla20, [](const StandardFigures& f) { return f.kla20; });
  check(u.cinf20, [](const StandardFigures& f) { return f.cinf20; });
  check(u.sotr, [](const StandardFigures& f) { return f.sotr; });
  ASSERT_TRUE(u.sote);
  check(*u.sote, [](const StandardFigures& f) { return *f.sote; });
}

}  // namespace
}  // namespace vk::assess

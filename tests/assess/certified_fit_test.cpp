// The double-precision optimum and its parameter uncertainty against
// certified results and an independent finite-difference Jacobian.

#include <gtest/gtest.h>

#include <Eigen/Dense>

#include "assess/DoubleFit.h"
#include "assess/Uncertainty.h"
#include "tests/assess/SignificantDigits.h"

namespace vk::assess {
namespace {

using test::sameDigits;

// NIST Statistical Reference Datasets, nonlinear regression, Misra1a
// (https://www.itl.nist.gov/div898/strd/nls/data/misra1a.shtml, lower level
// of difficulty): y = b1 (1 - exp(-b2 x)), 14 observations, with the
// certified values below. Data as carried by Eigen's
// unsupported/test/levenberg_marquardt.cpp. It is our curve with C0 held at
// 0: Cinf = b1, KLa = b2, t = x.
const Readings kMisra1a{
    {77.6, 114.9, 141.1, 190.8, 239.9, 289.0, 332.8, 378.4, 434.8, 477.3, 536.8, 593.1, 689.1, 760.0},
    {10.07, 14.73, 17.94, 23.93, 29.61, 35.18, 40.02, 44.82, 50.76, 55.05, 61.01, 66.40, 75.47, 81.78}};
constexpr double kB1 = 2.3894212918E+02, kB1Sd = 2.7070075241E+00;
constexpr double kB2 = 5.5015643181E-04, kB2Sd = 7.2668688436E-06;
constexpr double kResidualSS = 1.2455138894E-01, kResidualSd = 1.0187876330E-01;
constexpr int kDof = 12;

class Misra1a : public ::testing::TestWithParam<CurveParams> {};

TEST_P(Misra1a, MatchesTheCertifiedValuesToSixDigits) {
  const Optimum fit = fitDouble(kMisra1a, GetParam(), /*holdC0=*/true);
  ASSERT_TRUE(fit.converged) << fit.stop;
  EXPECT_EQ(fit.params.c0, 0.0);
  EXPECT_TRUE(sameDigits(fit.params.cinf, kB1, 6));
  EXPECT_TRUE(sameDigits(fit.params.kla, kB2, 6));
  EXPECT_TRUE(sameDigits(fit.ssr, kResidualSS, 6));

  const Maybe<ParameterUncertainty> u = parameterUncertainty(kMisra1a, fit);
  ASSERT_TRUE(u) << u.reason;
  EXPECT_EQ(u->dof, kDof);
  EXPECT_TRUE(sameDigits(u->s, kResidualSd, 6));
  EXPECT_TRUE(sameDigits(u->se[kCinf], kB1Sd, 6));
  EXPECT_TRUE(sameDigits(u->se[kKLa], kB2Sd, 6));
  // The held parameter carries no uncertainty.
  EXPECT_EQ(u->se[kC0], 0.0);
  EXPECT_EQ(u->covariance.row(kC0).norm(), 0.0);
}

// Both certified starting points: far (start 1) and near (start 2).
INSTANTIATE_TEST_SUITE_P(CertifiedStarts, Misra1a,
                         ::testing::Values(CurveParams{0, 500, 0.0001}, CurveParams{0, 250, 0.0005}));

// A three-parameter curve with noise: the covariance, its intervals and
// correlations against s^2 (J^T J)^-1 from a central-difference Jacobian.
TEST(ParameterUncertainty, CovarianceAgreesWithAFiniteDifferenceJacobian) {
  const CurveParams truth{1.2, 9.8, 0.31};
  Readings r;
  const double wiggle[] = {0.03, -0.05, 0.02, 0.04, -0.01, -0.04, 0.05, -0.02, 0.01, -0.03, 0.02};
  for (int i = 0; i < 40; ++i) {
    const double t = 0.25 * i;
    r.times.push_back(t);
    r.conc.push_back(curveAt(truth, t) + wiggle[i % 11]);
  }
  const Optimum fit = fitDouble(r, {0.9, 9.0, 0.2});
  ASSERT_TRUE(fit.converged) << fit.stop;
  const Maybe<ParameterUncertainty> u = parameterUncertainty(r, fit);
  ASSERT_TRUE(u) << u.reason;

  Eigen::MatrixXd jac(40, 3);
  for (int i = 0; i < 40; ++i)
    for (int p = 0; p < 3; ++p) {
      CurveParams up = fit.params, down = fit.params;
      const double h = 1e-6 * std::max(1.0, std::fabs(fit.params[p]));
      up[p] += h;
      down[p] -= h;
      jac(i, p) = (curveAt(up, r.times[std::size_t(i)]) - curveAt(down, r.times[std::size_t(i)])) / (2 * h);
    }
  const double s2 = fit.ssr / (40 - 3);
  const Eigen::Matrix3d expected = s2 * (jac.transpose() * jac).inverse();
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b) EXPECT_NEAR(u->covariance(a, b), expected(a, b), 1e-6 * std::fabs(expected(a, a)));

  // 95 % intervals with t(0.975, 37) = 2.026192, centred on the optimum.
  for (int p = 0; p < 3; ++p) {
    const auto k = std::size_t(p);
    EXPECT_NEAR((u->ci95[k].high - u->ci95[k].low) / (2 * u->se[k]), 2.026192, 1e-6);
    EXPECT_DOUBLE_EQ((u->ci95[k].high + u->ci95[k].low) / 2, fit.params[p]);
  }
  EXPECT_NEAR(u->correlation(kCinf, kKLa), expected(1, 2) / std::sqrt(expected(1, 1) * expected(2, 2)), 1e-6);
  EXPECT_DOUBLE_EQ(u->correlation(kKLa, kCinf), u->correlation(kCinf, kKLa));
}

TEST(ParameterUncertainty, NotApplicableWithoutResidualFreedomOrAnIdentifiableCurve) {
  // Three readings: an exact fit, no degree of freedom left.
  const Readings three{{0, 1, 2}, {1, 5, 7}};
  const Optimum exact = fitDouble(three, {1, 8, 0.5});
  EXPECT_FALSE(parameterUncertainty(three, exact));

  // Every reading at one time: KLa and Cinf cannot be told apart.
  const Readings oneTime{{0, 0, 0, 0, 0}, {2, 2.1, 1.9, 2, 2.05}};
  Optimum flat;
  flat.converged = true;
  flat.params = {2, 9, 0.3};
  flat.ssr = 0.025;
  flat.residuals.assign(5, 0.0);
  const auto u = parameterUncertainty(oneTime, flat);
  EXPECT_FALSE(u);
  EXPECT_NE(u.reason.find("determine"), std::string::npos);
}

TEST(DoubleFit, TooFewReadingsIsNotAnOptimum) {
  const Optimum fit = fitDouble({{0, 1}, {1, 2}}, {1, 3, 0.2});
  EXPECT_FALSE(fit.converged);
  EXPECT_FALSE(parameterUncertainty({{0, 1}, {1, 2}}, fit));
}

}  // namespace
}  // namespace vk::assess

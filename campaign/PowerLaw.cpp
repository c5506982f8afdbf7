#include "campaign/PowerLaw.h"

#include <Eigen/Dense>
#include <cmath>
#include <set>
#include <stdexcept>

namespace vk::campaign {

using assess::Maybe;

double PowerLawFit::at(double x) const { return a * std::pow(x, b); }

Maybe<PowerLawFit> fitPowerLaw(const std::vector<double>& x, const std::vector<double>& y) {
  if (x.size() != y.size())
    throw std::invalid_argument("a power law needs one y per x: " + std::to_string(x.size()) + " x, " +
                                std::to_string(y.size()) + " y");
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!(x[i] > 0) || !(y[i] > 0) || !std::isfinite(x[i]) || !std::isfinite(y[i]))
      return Maybe<PowerLawFit>::none("a value that is not positive has no logarithm");
  if (std::set<double>(x.begin(), x.end()).size() < std::size_t(kPowerLawMinimumDistinctX))
    return Maybe<PowerLawFit>::none("fewer than " + std::to_string(kPowerLawMinimumDistinctX) +
                                    " workbooks with distinct air flows");

  const auto n = Eigen::Index(x.size());
  Eigen::MatrixX2d design(n, 2);
  Eigen::VectorXd lnY(n);
  for (Eigen::Index i = 0; i < n; ++i) {
    design(i, 0) = 1;
    design(i, 1) = std::log(x[std::size_t(i)]);
    lnY(i) = std::log(y[std::size_t(i)]);
  }
  // QR of the design matrix, never its normal equations: ln x of close air
  // flows makes the columns nearly parallel.
  const Eigen::HouseholderQR<Eigen::MatrixX2d> qr(design);
  const Eigen::Vector2d coef = qr.solve(lnY);
  const Eigen::VectorXd residuals = lnY - design * coef;

  PowerLawFit fit;
  fit.points = int(n);
  fit.a = std::exp(coef(0));
  fit.b = coef(1);
  const double ssr = residuals.squaredNorm();
  const double s2 = ssr / double(n - 2);
  fit.residualSd = std::sqrt(s2);
  // (XᵀX)⁻¹ = R⁻¹R⁻ᵀ, with R the QR's upper triangle.
  const Eigen::Matrix2d r = qr.matrixQR().topRows<2>().triangularView<Eigen::Upper>();
  const Eigen::Matrix2d rInverse = r.triangularView<Eigen::Upper>().solve(Eigen::Matrix2d::Identity());
  const Eigen::Matrix2d covariance = s2 * rInverse * rInverse.transpose();
  fit.seLnA = std::sqrt(covariance(0, 0));
  fit.seB = std::sqrt(covariance(1, 1));
  const double sst = (lnY.array() - lnY.mean()).matrix().squaredNorm();
  fit.rSquared = sst > 0 ? Maybe<double>(1 - ssr / sst) : Maybe<double>::none("every value is the same");
  fit.residuals.assign(residuals.begin(), residuals.end());
  return fit;
}

}  // namespace vk::campaign

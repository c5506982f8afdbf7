#include "assess/Uncertainty.h"

#include <Eigen/QR>
#include <cmath>
#include <vector>

#include "assess/StudentT.h"

namespace vk::assess {

using Eigen::Index;

Maybe<ParameterUncertainty> parameterUncertainty(const Readings& readings, const Optimum& optimum) {
  if (!optimum.converged) return Maybe<ParameterUncertainty>::none("the double-precision fit did not converge");
  const int p = optimum.freeParameters();
  const auto n = static_cast<Index>(readings.size());
  if (n <= p) return Maybe<ParameterUncertainty>::none("there are no more kept readings than fitted parameters");

  std::vector<int> free;
  for (int q = optimum.c0Held ? kCinf : kC0; q < kParameters; ++q) free.push_back(q);

  Eigen::MatrixXd jac(n, p);
  for (Index i = 0; i < n; ++i) {
    const auto g = curveGradient(optimum.params, readings.times[static_cast<std::size_t>(i)]);
    for (Index c = 0; c < p; ++c) jac(i, c) = g[static_cast<std::size_t>(free[static_cast<std::size_t>(c)])];
  }

  // (J^T J)^-1 from the pivoted QR of J, J P = Q R: P R^-1 R^-T P^T. Forming
  // J^T J would square J's condition number.
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(jac);
  if (qr.rank() < p) return Maybe<ParameterUncertainty>::none("the kept readings do not determine every parameter");
  const Eigen::MatrixXd r = qr.matrixR().topLeftCorner(p, p).triangularView<Eigen::Upper>();
  const Eigen::MatrixXd rInv = r.triangularView<Eigen::Upper>().solve(Eigen::MatrixXd::Identity(p, p));
  const Eigen::MatrixXd perm = qr.colsPermutation();
  const Eigen::MatrixXd inverse = perm * (rInv * rInv.transpose()) * perm.transpose();

  ParameterUncertainty u;
  u.dof = static_cast<int>(n) - p;
  const double s2 = optimum.ssr / u.dof;
  u.s = std::sqrt(s2);
  u.t975 = studentT975(u.dof);
  for (Index a = 0; a < p; ++a)
    for (Index b = 0; b < p; ++b)
      u.covariance(free[static_cast<std::size_t>(a)], free[static_cast<std::size_t>(b)]) = s2 * inverse(a, b);
  if (!u.covariance.allFinite())
    return Maybe<ParameterUncertainty>::none("the covariance of the parameters is not finite");

  for (int q = 0; q < kParameters; ++q) {
    const auto k = static_cast<std::size_t>(q);
    u.se[k] = std::sqrt(u.covariance(q, q));
    const double half = u.t975 * u.se[k];
    u.ci95[k] = {optimum.params[q] - half, optimum.params[q] + half};
  }
  for (int a = 0; a < kParameters; ++a)
    for (int b = 0; b < kParameters; ++b)
      if (a != b) {
        const double scale = u.se[static_cast<std::size_t>(a)] * u.se[static_cast<std::size_t>(b)];
        u.correlation(a, b) = scale > 0 ? u.covariance(a, b) / scale : 0.0;
      }
  return u;
}

}  // namespace vk::assess

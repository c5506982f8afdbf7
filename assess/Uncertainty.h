#pragma once
// Parameter uncertainty at the double-precision optimum, centred on it:
// covariance s^2 (J^T J)^-1 with s^2 = SSR / (n - p), standard errors,
// correlations and 95 % intervals with Student's t for n - p degrees of
// freedom. These come from one set's residuals, which are usually serially
// correlated, so they understate the real uncertainty.

#include <Eigen/Core>
#include <array>

#include "assess/DoubleFit.h"
#include "assess/Maybe.h"
#include "assess/Readings.h"

namespace vk::assess {

struct ParameterUncertainty {
  int dof = 0;
  double s = 0;     // standard error of estimate, sqrt(SSR / dof)
  double t975 = 0;  // Student's t(0.975, dof)
  // Indexed by Parameter (C0, Cinf, KLa); the rows and columns of a held
  // parameter are zero, its standard error 0 and its interval a point.
  Eigen::Matrix3d covariance = Eigen::Matrix3d::Zero();
  Eigen::Matrix3d correlation = Eigen::Matrix3d::Identity();
  std::array<double, kParameters> se{};
  std::array<Interval, kParameters> ci95{};
};

// Not applicable when the fit did not reach an optimum, when there are no
// more readings than free parameters, or when the readings do not determine
// every free parameter (a rank-deficient Jacobian).
Maybe<ParameterUncertainty> parameterUncertainty(const Readings& readings, const Optimum& optimum);

}  // namespace vk::assess

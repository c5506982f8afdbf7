#include "assess/Standardisation.h"

#include <unsupported/Eigen/AutoDiff>

#include <cmath>

#include "assess/StandardBasis.h"

namespace vk::assess {

namespace {

namespace b = basis;

template <class T>
struct Figures {
  T kla20, cinf20, sotr, sote;
};

// The Run's formulas, in its order, for any scalar: double for the values,
// an automatic-differentiation scalar for their gradients, so that the
// propagation goes through exactly these lines.
template <class T>
Figures<T> corrected(const StandardInputs& in, const T& cinf, const T& kla) {
  const Conditions& c = in.conditions;
  const double pb = c.baroPressInHg, pv = in.pv;
  const T depthInHg = cinf / in.csT * (b::kStdPressInHg - pv) - pb + pv;
  const T omega = (depthInHg + pb - pv) / (depthInHg + b::kStdPressInHg - pv);
  const double tau = in.csT / b::kSatDO20;
  const double thetaFactor = std::pow(b::kTheta, c.waterTempC - b::kStdTempC);

  Figures<T> f;
  f.cinf20 = cinf / tau / omega;
  f.kla20 = kla / thetaFactor * b::kMinutesPerHour;
  f.sotr = f.kla20 * f.cinf20 * c.tankVolumeFt3 * b::kLbO2PerMgLFt3;
  f.sote = c.airFlowScfm != 0 ? T(f.sotr * 100.0 / (c.airFlowScfm * b::kLbO2PerHourPerScfm)) : T(0.0);
  return f;
}

using Dual = Eigen::AutoDiffScalar<Eigen::Vector2d>;  // d/dCinf, d/dKLa

StandardEstimate estimate(const Dual& figure, const Eigen::Matrix2d& cov, double t975) {
  StandardEstimate e;
  e.value = figure.value();
  const Eigen::Vector2d g = figure.derivatives();
  e.se = std::sqrt(std::max(0.0, g.dot(cov * g)));
  e.ci95 = {e.value - t975 * e.se, e.value + t975 * e.se};
  return e;
}

}  // namespace

StandardFigures standardise(const StandardInputs& in, double cinf, double kla) {
  const Figures<double> f = corrected(in, cinf, kla);
  StandardFigures out{f.kla20, f.cinf20, f.sotr, std::nullopt};
  if (in.conditions.airFlowScfm != 0) out.sote = f.sote;
  return out;
}

StandardUncertainty propagate(const StandardInputs& in, const CurveParams& at, const Eigen::Matrix3d& covariance,
                              double t975) {
  const Dual cinf(at.cinf, 2, 0), kla(at.kla, 2, 1);
  const Figures<Dual> f = corrected(in, cinf, kla);
  Eigen::Matrix2d cov;
  cov << covariance(kCinf, kCinf), covariance(kCinf, kKLa), covariance(kKLa, kCinf), covariance(kKLa, kKLa);

  StandardUncertainty u;
  u.kla20 = estimate(f.kla20, cov, t975);
  u.cinf20 = estimate(f.cinf20, cov, t975);
  u.sotr = estimate(f.sotr, cov, t975);
  if (in.conditions.airFlowScfm != 0) u.sote = estimate(f.sote, cov, t975);
  return u;
}

}  // namespace vk::assess

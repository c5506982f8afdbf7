#include "assess/DoubleFit.h"

#include <unsupported/Eigen/LevenbergMarquardt>

#include <cmath>
#include <limits>

namespace vk::assess {

namespace {

using Eigen::Index;
namespace lm = Eigen::LevenbergMarquardtSpace;

// Residuals f_i = C(t_i) - y_i over the free parameters: (C0, Cinf, KLa), or
// (Cinf, KLa) when C0 is held.
struct CurveResiduals : Eigen::DenseFunctor<double> {
  CurveResiduals(const Readings& r, double heldC0, bool holdC0)
      : DenseFunctor<double>(holdC0 ? 2 : 3, static_cast<int>(r.size())), readings(r), c0(heldC0), hold(holdC0) {}

  CurveParams params(const InputType& x) const {
    return hold ? CurveParams{c0, x[0], x[1]} : CurveParams{x[0], x[1], x[2]};
  }

  int operator()(const InputType& x, ValueType& f) const {
    const CurveParams p = params(x);
    for (Index i = 0; i < f.size(); ++i) {
      const auto k = static_cast<std::size_t>(i);
      f[i] = curveAt(p, readings.times[k]) - readings.conc[k];
    }
    return 0;
  }

  int df(const InputType& x, JacobianType& jac) const {
    const CurveParams p = params(x);
    const Index first = hold ? kCinf : kC0;
    for (Index i = 0; i < jac.rows(); ++i) {
      const auto g = curveGradient(p, readings.times[static_cast<std::size_t>(i)]);
      for (Index c = 0; c < jac.cols(); ++c) jac(i, c) = g[static_cast<std::size_t>(first + c)];
    }
    return 0;
  }

  const Readings& readings;
  double c0;
  bool hold;
};

const char* stopText(lm::Status s) {
  switch (s) {
    case lm::NotStarted:
    case lm::Running: return "not finished";
    case lm::ImproperInputParameters: return "fewer readings than free parameters";
    case lm::RelativeReductionTooSmall: return "relative reduction of the sum of squares below tolerance";
    case lm::RelativeErrorTooSmall: return "relative change of the parameters below tolerance";
    case lm::RelativeErrorAndReductionTooSmall:
      return "relative changes of the sum of squares and the parameters below tolerance";
    case lm::CosinusTooSmall: return "residuals orthogonal to the Jacobian";
    case lm::TooManyFunctionEvaluation: return "too many evaluations";
    case lm::FtolTooSmall: return "no further reduction of the sum of squares possible";
    case lm::XtolTooSmall: return "no further improvement of the parameters possible";
    case lm::GtolTooSmall: return "gradient at the limit of precision";
    case lm::UserAsked: return "stopped";
  }
  return "unknown";
}

// Statuses after which the point reached is the optimum to working precision.
bool reachedOptimum(lm::Status s) {
  switch (s) {
    case lm::RelativeReductionTooSmall:
    case lm::RelativeErrorTooSmall:
    case lm::RelativeErrorAndReductionTooSmall:
    case lm::CosinusTooSmall:
    case lm::FtolTooSmall:
    case lm::XtolTooSmall:
    case lm::GtolTooSmall: return true;
    default: return false;
  }
}

}  // namespace

Optimum fitDouble(const Readings& readings, const CurveParams& start, bool holdC0) {
  Optimum result;
  result.c0Held = holdC0;
  result.params = start;
  const Index free = holdC0 ? 2 : 3;
  if (readings.size() < static_cast<std::size_t>(free) ||
      readings.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    result.stop = stopText(lm::ImproperInputParameters);
    return result;
  }

  CurveResiduals residuals(readings, start.c0, holdC0);
  Eigen::VectorXd x(free);
  if (holdC0)
    x << start.cinf, start.kla;
  else
    x << start.c0, start.cinf, start.kla;

  Eigen::LevenbergMarquardt<CurveResiduals> solver(residuals);
  // Tighter than the defaults (about 1.5e-8): the optimum is a reference for
  // a 32-bit fit and its standard errors are compared to six digits.
  solver.setFtol(1e-12);
  solver.setXtol(1e-12);
  const lm::Status status = solver.minimize(x);

  result.params = residuals.params(x);
  result.iterations = static_cast<int>(solver.iterations());
  result.evaluations = static_cast<int>(solver.nfev());
  result.stop = stopText(status);

  Eigen::VectorXd f(static_cast<Index>(readings.size()));
  residuals(x, f);
  result.residuals.resize(readings.size());
  for (Index i = 0; i < f.size(); ++i) result.residuals[static_cast<std::size_t>(i)] = -f[i];
  result.ssr = f.squaredNorm();
  result.converged = reachedOptimum(status) && x.allFinite() && std::isfinite(result.ssr);
  return result;
}

}  // namespace vk::assess

#pragma once
// The Run's correction to standard conditions, evaluated in double
// precision, and the first-order (delta) propagation of the covariance of
// Cinf and KLa through it. The conditions and the water properties at the
// test temperature are taken as exact.

#include <Eigen/Core>
#include <optional>

#include "assess/Curve.h"
#include "assess/Maybe.h"
#include "assess/Readings.h"
#include "assess/RunRecord.h"

namespace vk::assess {

// Everything the correction needs besides the fitted Cinf and KLa.
struct StandardInputs {
  Conditions conditions;
  double pv = 0;   // vapour pressure at the test temperature, inHg, as the Run computed it
  double csT = 0;  // saturation at the test temperature and 1 atm, mg/L, as the Run computed it
};

struct StandardFigures {
  double kla20 = 0;            // per hour
  double cinf20 = 0;           // mg/L
  double sotr = 0;             // lb O2/h
  std::optional<double> sote;  // percent; empty without an air flow
};

// KLa per minute, as fitted.
StandardFigures standardise(const StandardInputs& in, double cinf, double kla);

struct StandardEstimate {
  double value = 0;
  double se = 0;
  Interval ci95;
};

struct StandardUncertainty {
  StandardEstimate kla20, cinf20, sotr;
  std::optional<StandardEstimate> sote;
};

// At `at`, with the parameters' covariance (indexed by Parameter) and the
// Student-t quantile of its degrees of freedom.
StandardUncertainty propagate(const StandardInputs& in, const CurveParams& at, const Eigen::Matrix3d& covariance,
                              double t975);

}  // namespace vk::assess

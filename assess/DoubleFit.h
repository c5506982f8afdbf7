#pragma once
// The double-precision least-squares optimum of the curve for one set's
// readings, by Eigen's Levenberg-Marquardt, started where the caller says
// (the program's own result, as a rule). It is a check on the program's
// 32-bit fit, which stays the result of record.

#include <string>
#include <vector>

#include "assess/Curve.h"
#include "assess/Readings.h"

namespace vk::assess {

struct Optimum {
  bool converged = false;  // the solver met one of its tolerances at a finite point
  std::string stop;        // the solver's reason for stopping, in words
  CurveParams params;
  bool c0Held = false;  // C0 was held at its starting value
  int iterations = 0;
  int evaluations = 0;
  double ssr = 0;                 // sum of squared residuals
  std::vector<double> residuals;  // reading minus curve, in reading order

  int freeParameters() const { return c0Held ? 2 : 3; }
};

// With `holdC0`, C0 stays at start.c0 and only Cinf and KLa are fitted.
Optimum fitDouble(const Readings& readings, const CurveParams& start, bool holdC0 = false);

}  // namespace vk::assess

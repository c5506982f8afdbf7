#pragma once
// Whether a set's residuals look like random scatter about the curve or
// follow a pattern the model does not describe (drift, a lagging probe).

#include <vector>

#include "assess/Maybe.h"

namespace vk::assess {

struct ResidualDiagnostics {
  Maybe<double> lag1Autocorrelation;
  Maybe<double> durbinWatson;
  // Runs test on the signs (zero residuals left out): the number of runs
  // against its expectation for random order, as a z score.
  int positive = 0;
  int negative = 0;
  int runs = 0;
  Maybe<double> runsZ;
  Maybe<double> largestScaled;  // largest |residual| / s, s^2 = SSR / (n - p)
};

ResidualDiagnostics diagnoseResiduals(const std::vector<double>& residuals, int freeParameters);

}  // namespace vk::assess

#pragma once
// y = a·x^b fitted by least squares on logarithms: ln y = ln a + b·ln x, one
// point per workbook, every point weighted equally.

#include <vector>

#include "assess/Maybe.h"

namespace vk::campaign {

struct PowerLawFit {
  double a = 0;
  double b = 0;
  double seLnA = 0;                // standard error of ln a
  double seB = 0;                  // standard error of b
  assess::Maybe<double> rSquared;  // of ln y on ln x; not applicable when every ln y is the same
  double residualSd = 0;           // s of the log residuals, n - 2 degrees of freedom
  std::vector<double> residuals;   // ln y - (ln a + b ln x), in the order of the points
  int points = 0;

  double at(double x) const;
};

// The fewest distinct x a fit needs: two would leave no degree of freedom
// for its standard errors.
inline constexpr int kPowerLawMinimumDistinctX = 3;

// Not applicable with fewer than three distinct x, or with an x or y that is
// not positive (its logarithm does not exist). x and y of different lengths
// are a std::invalid_argument.
assess::Maybe<PowerLawFit> fitPowerLaw(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace vk::campaign

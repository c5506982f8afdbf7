#include "assess/Residuals.h"

#include <cmath>
#include <cstddef>

namespace vk::assess {

namespace {

Maybe<double> lag1(const std::vector<double>& e) {
  if (e.size() < 3) return Maybe<double>::none("fewer than three residuals");
  double mean = 0;
  for (double v : e) mean += v;
  mean /= static_cast<double>(e.size());
  double num = 0, den = 0;
  for (std::size_t t = 0; t < e.size(); ++t) {
    den += (e[t] - mean) * (e[t] - mean);
    if (t + 1 < e.size()) num += (e[t] - mean) * (e[t + 1] - mean);
  }
  if (den == 0) return Maybe<double>::none("the residuals do not vary");
  return num / den;
}

Maybe<double> durbinWatson(const std::vector<double>& e) {
  if (e.size() < 2) return Maybe<double>::none("fewer than two residuals");
  double num = 0, den = 0;
  for (std::size_t t = 0; t < e.size(); ++t) {
    den += e[t] * e[t];
    if (t > 0) num += (e[t] - e[t - 1]) * (e[t] - e[t - 1]);
  }
  if (den == 0) return Maybe<double>::none("every residual is zero");
  return num / den;
}

}  // namespace

ResidualDiagnostics diagnoseResiduals(const std::vector<double>& residuals, int freeParameters) {
  ResidualDiagnostics d;
  d.lag1Autocorrelation = lag1(residuals);
  d.durbinWatson = durbinWatson(residuals);

  int previous = 0;
  for (double r : residuals) {
    const int sign = r > 0 ? 1 : r < 0 ? -1 : 0;
    if (sign == 0) continue;
    (sign > 0 ? d.positive : d.negative) += 1;
    if (sign != previous) ++d.runs;
    previous = sign;
  }
  const double n1 = d.positive, n2 = d.negative, n = n1 + n2;
  if (d.positive == 0 || d.negative == 0) {
    d.runsZ = Maybe<double>::none("the residuals do not change sign");
  } else {
    const double expected = 2 * n1 * n2 / n + 1;
    const double variance = 2 * n1 * n2 * (2 * n1 * n2 - n) / (n * n * (n - 1));
    if (variance > 0)
      d.runsZ = (d.runs - expected) / std::sqrt(variance);
    else
      d.runsZ = Maybe<double>::none("too few residuals of each sign");
  }

  const auto count = static_cast<int>(residuals.size());
  if (count <= freeParameters) {
    d.largestScaled = Maybe<double>::none("there are no more residuals than fitted parameters");
  } else {
    double ssr = 0, largest = 0;
    for (double r : residuals) {
      ssr += r * r;
      largest = std::max(largest, std::fabs(r));
    }
    const double s = std::sqrt(ssr / (count - freeParameters));
    if (s > 0)
      d.largestScaled = largest / s;
    else
      d.largestScaled = Maybe<double>::none("the curve passes through every reading");
  }
  return d;
}

}  // namespace vk::assess

#include "assess/Spread.h"

#include <cmath>

#include "assess/StudentT.h"

namespace vk::assess {

namespace {

struct MeanSd {
  double mean = 0, sd = 0;
};

MeanSd meanSd(const std::vector<double>& v, std::size_t skip) {
  double sum = 0, count = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i == skip) continue;
    sum += v[i];
    count += 1;
  }
  const double mean = sum / count;
  double ss = 0;
  for (std::size_t i = 0; i < v.size(); ++i)
    if (i != skip) ss += (v[i] - mean) * (v[i] - mean);
  return {mean, std::sqrt(ss / (count - 1))};
}

}  // namespace

Maybe<SpreadStats> spreadOf(const std::vector<double>& values) {
  if (values.size() < 2) return Maybe<SpreadStats>::none("one probe");
  const MeanSd m = meanSd(values, values.size());
  SpreadStats s;
  s.probes = static_cast<int>(values.size());
  s.mean = m.mean;
  s.sd = m.sd;
  if (m.mean == 0) return Maybe<SpreadStats>::none("the mean is zero");
  s.cvPercent = 100 * m.sd / std::fabs(m.mean);
  const double half = studentT975(s.probes - 1) * m.sd / std::sqrt(double(s.probes));
  s.meanCi95 = {m.mean - half, m.mean + half};
  return s;
}

Maybe<double> distanceFromOthers(const std::vector<double>& values, std::size_t index) {
  // With three probes the others are two, and their standard deviation makes
  // one probe of every test that is not exactly even lie beyond two of them.
  if (values.size() < 4) return Maybe<double>::none("fewer than four probes");
  const MeanSd others = meanSd(values, index);
  if (others.sd == 0) return Maybe<double>::none("the other probes agree exactly");
  return std::fabs(values[index] - others.mean) / others.sd;
}

}  // namespace vk::assess

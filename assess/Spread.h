#pragma once
// The spread of one figure between the probes of a test.

#include <cstddef>
#include <vector>

#include "assess/Maybe.h"
#include "assess/Readings.h"

namespace vk::assess {

struct SpreadStats {
  int probes = 0;
  double mean = 0;
  double sd = 0;         // sample standard deviation (probes - 1)
  double cvPercent = 0;  // 100 sd / |mean|
  Interval meanCi95;     // mean -/+ t(0.975, probes - 1) sd / sqrt(probes)
};

// Not applicable with fewer than two probes.
Maybe<SpreadStats> spreadOf(const std::vector<double>& values);

// How far values[index] lies from the mean of the other values, in their
// standard deviations. Not applicable with fewer than three values or when
// the others do not differ.
Maybe<double> distanceFromOthers(const std::vector<double>& values, std::size_t index);

}  // namespace vk::assess

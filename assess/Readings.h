#pragma once
// One data set's readings: times in minutes and DO concentrations in mg/L,
// in the order they were taken.

#include <cstddef>
#include <vector>

namespace vk::assess {

struct Readings {
  std::vector<double> times;
  std::vector<double> conc;

  std::size_t size() const { return conc.size(); }
};

struct Interval {
  double low = 0;
  double high = 0;
};

}  // namespace vk::assess

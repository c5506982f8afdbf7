#pragma once
// "Nice" axis ticks: steps of 1, 2 or 5 times a power of ten, starting and
// ending on multiples of the step, so that a reader can interpolate at a
// glance. Residuals that straddle zero get a tick at zero.

#include <string>
#include <vector>

namespace vk::plot {

struct Ticks {
  double step = 1;
  std::vector<double> values;       // ascending, multiples of the step
  std::vector<std::string> labels;  // the shortest text for each, e.g. "0.25"
};

// At most `maxCount` ticks (taken as at least 3) from a multiple of the step at or
// below `low` to one at or above `high`: the ticks cover the range, and the
// smallest such step is taken. A single value, or a range too narrow for a
// double to tell its ends apart, is widened around it; an empty or
// non-finite range gives the ticks of [0, 1].
Ticks niceTicks(double low, double high, int maxCount);

}  // namespace vk::plot

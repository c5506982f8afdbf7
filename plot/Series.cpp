#include "plot/Series.h"

#include <algorithm>

namespace vk::plot {

Line sampled(std::string label, const std::function<double(double)>& f, double from, double to, int samples) {
  samples = std::max(samples, 2);
  Line line;
  line.label = std::move(label);
  for (int i = 0; i < samples; ++i) {
    // The ends exactly, whatever the rounding in between.
    const double x = i == samples - 1 ? to : from + (to - from) * i / (samples - 1);
    line.x.push_back(x);
    line.y.push_back(f(x));
  }
  return line;
}

}  // namespace vk::plot

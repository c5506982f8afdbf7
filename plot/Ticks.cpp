#include "plot/Ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "plot/Numbers.h"

namespace vk::plot {
namespace {

// A step of mantissa x 10^exponent. A tick's value is read from its exact
// decimal, index x mantissa "e" exponent, so it is the double nearest that
// decimal (3 x 0.1 is 0.3, not 0.30000000000000004) and its label reads
// back as the same double.
struct Step {
  int mantissa;  // 1, 2 or 5
  int exponent;

  double value(double index) const {
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, index * mantissa, std::chars_format::fixed, 0).ptr;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, exponent).ptr;
    double v = 0;
    std::from_chars(text, end, v);
    return v;
  }
  double size() const { return value(1); }
};

// The outermost ticks: the largest multiple of the step at or below `low`
// and the smallest at or above `high`, checked on the values themselves, since
// 0.3 / 0.1 is 2.9999999999999996.
double firstIndex(double low, Step step) {
  double index = std::floor(low / step.size());
  while (step.value(index + 1) <= low) ++index;
  while (step.value(index) > low) --index;
  return index;
}

double lastIndex(double high, Step step) {
  double index = std::ceil(high / step.size());
  while (step.value(index - 1) >= high) --index;
  while (step.value(index) < high) ++index;
  return index;
}

// Labels in fixed notation with as many decimals as the step has, or in
// exponent form when fixed notation would be long.
std::vector<std::string> labelsFor(const std::vector<double>& values, Step step) {
  double largest = 0;
  for (double v : values) largest = std::max(largest, std::fabs(v));
  const bool exponentForm = largest >= 1e7 || step.exponent < -4;
  std::vector<std::string> labels;
  for (double v : values) {
    if (!exponentForm) {
      labels.push_back(fixed(v, std::max(0, -step.exponent)));
    } else {
      const int magnitude = v == 0 ? 0 : int(std::floor(std::log10(std::fabs(v))));
      labels.push_back(scientific(v, std::max(0, magnitude - step.exponent)));
    }
  }
  return labels;
}

}  // namespace

Ticks niceTicks(double low, double high, int maxCount) {
  // Two ticks cannot always cover a range that straddles zero; three can.
  maxCount = std::max(maxCount, 3);
  if (!std::isfinite(low) || !std::isfinite(high)) low = 0, high = 1;
  if (low > high) std::swap(low, high);
  // Keep the span and the outer ticks finite.
  low = std::max(low, -1e307);
  high = std::min(high, 1e307);
  const double middle = low / 2 + high / 2;
  if (high - low <= 1e-9 * std::fabs(middle) || high == low) {
    const double half = middle == 0 ? 1 : 0.05 * std::fabs(middle);
    low = middle - half;
    high = middle + half;
  }

  // Start a little below the step that would give maxCount intervals, and
  // take the first step whose ticks fit.
  Step step{1, int(std::floor(std::log10((high - low) / maxCount))) - 1};
  double first = 0, last = 0;
  for (;;) {
    first = firstIndex(low, step);
    last = lastIndex(high, step);
    if (last - first + 1 <= maxCount) break;
    if (step.mantissa == 1)
      step.mantissa = 2;
    else if (step.mantissa == 2)
      step.mantissa = 5;
    else
      step = {1, step.exponent + 1};
  }

  Ticks ticks;
  ticks.step = step.size();
  for (double index = first; index <= last; ++index) {
    const double v = step.value(index);
    ticks.values.push_back(v == 0 ? 0.0 : v);  // no negative zero
  }
  ticks.labels = labelsFor(ticks.values, step);
  return ticks;
}

}  // namespace vk::plot

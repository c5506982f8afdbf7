#include "plot/Layout.h"

#include <algorithm>
#include <cmath>

#include "plot/Style.h"

namespace vk::plot {
namespace {

double widestLabel(const Ticks& ticks) {
  double widest = 0;
  for (const std::string& label : ticks.labels)
    widest = std::max(widest, style::textWidth(label, style::kTickFontSize));
  return widest;
}

int tickCountFor(double length, double spacing) { return std::max(3, static_cast<int>(length / spacing)); }

}  // namespace

void Extent::include(double v) {
  if (!std::isfinite(v)) return;
  lo = std::min(lo, v);
  hi = std::max(hi, v);
}

bool Scale::covers(double v) const {
  const double slack = 1e-9 * (hi - lo);
  return v >= lo - slack && v <= hi + slack;
}

AxisSpan axisSpan(const Axis& axis, Extent data, int maxTicks) {
  if (data.empty()) data = {0, 1};
  // Fixed ends that contradict each other are ignored.
  const bool fixed = !(axis.min && axis.max && *axis.min >= *axis.max);
  const std::optional<double> min = fixed ? axis.min : std::nullopt;
  const std::optional<double> max = fixed ? axis.max : std::nullopt;
  double lo = min.value_or(data.lo), hi = max.value_or(data.hi);
  if (min && !max) hi = std::max(hi, lo);
  if (max && !min) lo = std::min(lo, hi);

  AxisSpan span;
  const Ticks all = niceTicks(lo, hi, maxTicks);
  span.lo = min.value_or(all.values.front());
  span.hi = max.value_or(all.values.back());
  if (span.lo >= span.hi) span.lo = all.values.front(), span.hi = all.values.back();
  span.ticks.step = all.step;
  const Scale ends{span.lo, span.hi};
  for (std::size_t i = 0; i < all.values.size(); ++i) {
    if (!ends.covers(all.values[i])) continue;
    span.ticks.values.push_back(all.values[i]);
    span.ticks.labels.push_back(all.labels[i]);
  }
  return span;
}

Plane layOut(Size size, double top, const Axis& xAxis, const Axis& yAxis, Extent xData, Extent yData) {
  using namespace style;
  Plane plane;
  plane.top = top + kTickFontSize / 2;  // room for the top tick label
  plane.bottom = size.height - kPad - (xAxis.title.empty() ? 0 : kFontSize + 6) - kTickFontSize - 4 - kTickLength;
  plane.bottom = std::max(plane.bottom, plane.top + 1);

  const AxisSpan ySpan = axisSpan(yAxis, yData, tickCountFor(plane.bottom - plane.top, kMinYTickSpacing));
  plane.left = kPad + (yAxis.title.empty() ? 0 : kFontSize + 6) + widestLabel(ySpan.ticks) + 4 + kTickLength;
  plane.right = size.width - kPad - 2 * kTickFontSize;  // room for half the last x label
  plane.right = std::max(plane.right, plane.left + 1);

  // Fewer x ticks while their labels would touch.
  const double width = plane.right - plane.left;
  int maxTicks = tickCountFor(width, kMinXTickSpacing);
  AxisSpan xSpan = axisSpan(xAxis, xData, maxTicks);
  while (maxTicks > 3 && (widestLabel(xSpan.ticks) + kTickFontSize) * double(xSpan.ticks.values.size()) > width)
    xSpan = axisSpan(xAxis, xData, --maxTicks);

  plane.x = {xSpan.lo, xSpan.hi, plane.left, plane.right};
  plane.y = {ySpan.lo, ySpan.hi, plane.bottom, plane.top};
  plane.xTicks = xSpan.ticks;
  plane.yTicks = ySpan.ticks;
  return plane;
}

}  // namespace vk::plot

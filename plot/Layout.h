#pragma once
// Where the plot area lies in the figure and how data maps onto it: the
// margins make room for the title, the legend rows, the tick labels and the
// axis titles; each axis runs from tick to tick unless its ends are fixed.

#include <cstddef>
#include <limits>

#include "plot/Figure.h"
#include "plot/Ticks.h"

namespace vk::plot {

// The finite values a series gives an axis.
struct Extent {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void include(double v);
  bool empty() const { return lo > hi; }
};

struct Scale {
  double lo = 0, hi = 1;    // data values at the axis ends
  double from = 0, to = 1;  // their places in the drawing
  double operator()(double v) const { return from + (v - lo) / (hi - lo) * (to - from); }
  // Within the ends, allowing for rounding: a point on the axis is drawn.
  bool covers(double v) const;
};

struct Plane {
  double left = 0, top = 0, right = 0, bottom = 0;
  Scale x, y;
  Ticks xTicks, yTicks;  // only those within the axis ends
};

// The ends of an axis and its ticks, at most maxTicks of them.
struct AxisSpan {
  double lo = 0, hi = 1;
  Ticks ticks;
};
AxisSpan axisSpan(const Axis& axis, Extent data, int maxTicks);

// `top` is where the plot area may start, below the title and legend.
Plane layOut(Size size, double top, const Axis& xAxis, const Axis& yAxis, Extent xData, Extent yData);

}  // namespace vk::plot

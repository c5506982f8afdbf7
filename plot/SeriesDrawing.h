#pragma once
// Draws each kind of series on the plot area, thinned to at most maxPoints
// points, every marker with its hover text.

#include <cstddef>

#include "plot/Figure.h"
#include "plot/Layout.h"
#include "plot/Xml.h"

namespace vk::plot {

struct Canvas {
  const Plane& plane;
  const Axis& xAxis;
  const Axis& yAxis;
  std::size_t maxPoints;
};

void draw(Xml& xml, const Canvas& canvas, const Points& points, std::size_t seriesIndex);
void draw(Xml& xml, const Canvas& canvas, const Line& line, std::size_t seriesIndex);
void draw(Xml& xml, const Canvas& canvas, const ErrorBars& bars, std::size_t seriesIndex);
void draw(Xml& xml, const Canvas& canvas, const ReferenceLine& line, std::size_t seriesIndex);

}  // namespace vk::plot

#pragma once
// The figure's title, the grid, the frame of the plot area, the ticks with
// their labels and the axis titles.

#include <string>

#include "plot/Figure.h"
#include "plot/Layout.h"
#include "plot/Xml.h"

namespace vk::plot {

void drawTitle(Xml& xml, const std::string& title, double baseline);
void drawGrid(Xml& xml, const Plane& plane);
void drawAxes(Xml& xml, const Plane& plane, const Axis& xAxis, const Axis& yAxis, Size size);

// "Time (min)", or "Time" without a unit.
std::string axisTitle(const Axis& axis);

}  // namespace vk::plot

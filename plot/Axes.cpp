#include "plot/Axes.h"

#include "plot/Numbers.h"
#include "plot/Style.h"

namespace vk::plot {

std::string axisTitle(const Axis& axis) { return axis.unit.empty() ? axis.title : axis.title + " (" + axis.unit + ")"; }

void drawTitle(Xml& xml, const std::string& title, double baseline) {
  if (title.empty()) return;
  xml.open("text")
      .attr("class", "plot-title")
      .attr("x", style::kPad)
      .attr("y", baseline)
      .attr("font-size", style::kTitleFontSize)
      .attr("font-weight", "bold")
      .attr("fill", style::kText)
      .body()
      .text(title)
      .close("text")
      .newline();
}

void drawGrid(Xml& xml, const Plane& plane) {
  // One path for all the lines; a grid line on the frame would only hide it.
  std::string d;
  for (double v : plane.xTicks.values) {
    const double x = plane.x(v);
    if (x > plane.left + 0.5 && x < plane.right - 0.5)
      d += "M" + coordinate(x) + " " + coordinate(plane.top) + "V" + coordinate(plane.bottom);
  }
  for (double v : plane.yTicks.values) {
    const double y = plane.y(v);
    if (y > plane.top + 0.5 && y < plane.bottom - 0.5)
      d += "M" + coordinate(plane.left) + " " + coordinate(y) + "H" + coordinate(plane.right);
  }
  if (d.empty()) return;
  xml.open("path")
      .attr("class", "plot-grid")
      .attr("d", d)
      .attr("stroke", style::kGrid)
      .attr("fill", "none")
      .selfClose()
      .newline();
}

void drawAxes(Xml& xml, const Plane& plane, const Axis& xAxis, const Axis& yAxis, Size size) {
  using namespace style;
  xml.open("rect")
      .attr("class", "plot-frame")
      .attr("x", plane.left)
      .attr("y", plane.top)
      .attr("width", plane.right - plane.left)
      .attr("height", plane.bottom - plane.top)
      .attr("fill", "none")
      .attr("stroke", kFrame)
      .selfClose()
      .newline();

  std::string marks;
  for (double v : plane.xTicks.values)
    marks += "M" + coordinate(plane.x(v)) + " " + coordinate(plane.bottom) + "v" + coordinate(kTickLength);
  for (double v : plane.yTicks.values)
    marks += "M" + coordinate(plane.left) + " " + coordinate(plane.y(v)) + "h" + coordinate(-kTickLength);
  if (!marks.empty())
    xml.open("path").attr("class", "plot-ticks").attr("d", marks).attr("stroke", kFrame).selfClose().newline();

  xml.open("g").attr("class", "plot-tick-labels").attr("font-size", kTickFontSize).attr("fill", kText).body().newline();
  xml.open("g").attr("text-anchor", "middle").body();
  for (std::size_t i = 0; i < plane.xTicks.values.size(); ++i)
    xml.open("text")
        .attr("x", plane.x(plane.xTicks.values[i]))
        .attr("y", plane.bottom + kTickLength + 3 + kTickFontSize)
        .body()
        .text(plane.xTicks.labels[i])
        .close("text");
  xml.close("g").newline();
  xml.open("g").attr("text-anchor", "end").body();
  for (std::size_t i = 0; i < plane.yTicks.values.size(); ++i)
    xml.open("text")
        .attr("x", plane.left - kTickLength - 4)
        .attr("y", plane.y(plane.yTicks.values[i]) + 0.35 * kTickFontSize)
        .body()
        .text(plane.yTicks.labels[i])
        .close("text");
  xml.close("g").newline().close("g").newline();

  const double middleX = (plane.left + plane.right) / 2, middleY = (plane.top + plane.bottom) / 2;
  if (!xAxis.title.empty())
    xml.open("text")
        .attr("class", "plot-axis-title")
        .attr("x", middleX)
        .attr("y", size.height - kPad - 2)
        .attr("text-anchor", "middle")
        .attr("fill", kText)
        .body()
        .text(axisTitle(xAxis))
        .close("text")
        .newline();
  // Turned a quarter to the left, the title's x runs up the page.
  if (!yAxis.title.empty())
    xml.open("text")
        .attr("class", "plot-axis-title")
        .attr("x", -middleY)
        .attr("y", kPad + kFontSize)
        .attr("transform", "rotate(-90)")
        .attr("text-anchor", "middle")
        .attr("fill", kText)
        .body()
        .text(axisTitle(yAxis))
        .close("text")
        .newline();
}

}  // namespace vk::plot

#include "plot/SeriesDrawing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "plot/Numbers.h"
#include "plot/SeriesStyle.h"
#include "plot/Style.h"
#include "plot/Thinning.h"

namespace vk::plot {
namespace {

// "t = 12.5 min"
std::string valueText(const Axis& axis, double v) {
  std::string text = axis.symbol.empty() ? axis.title : axis.symbol;
  text += " = " + significant(v, axis.digits);
  if (!axis.unit.empty()) text += " " + axis.unit;
  return text;
}

std::string pointText(const Canvas& canvas, double x, double y) {
  return valueText(canvas.xAxis, x) + ", " + valueText(canvas.yAxis, y);
}

bool onPlane(const Canvas& canvas, double x, double y) {
  return std::isfinite(x) && std::isfinite(y) && canvas.plane.x.covers(x) && canvas.plane.y.covers(y);
}

void marker(Xml& xml, double cx, double cy, const std::string& title) {
  xml.open("circle").attr("cx", cx).attr("cy", cy).attr("r", style::kMarkerRadius).body();
  xml.element("title", title).close("circle").newline();
}

struct Pixel {
  double x, y;
};

// Cuts the segment a-b to the plot area (Liang-Barsky); false when none of
// it lies inside.
bool clipToPlane(const Plane& plane, Pixel& a, Pixel& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  double enter = 0, leave = 1;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {a.x - plane.left, plane.right - a.x, a.y - plane.top, plane.bottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
  }
  if (enter > leave) return false;
  const Pixel from{a.x + enter * dx, a.y + enter * dy};
  b = {a.x + leave * dx, a.y + leave * dy};
  a = from;
  return true;
}

void polyline(Xml& xml, const std::string& points) {
  if (points.find(' ') == std::string::npos) return;  // a single point draws nothing
  xml.open("polyline").attr("points", points).selfClose().newline();
}

std::string pixelText(Pixel p) { return coordinate(p.x) + "," + coordinate(p.y); }

}  // namespace

void draw(Xml& xml, const Canvas& canvas, const Points& points, std::size_t seriesIndex) {
  const std::vector<std::size_t> shown = evenlyThinned(points.x.size(), canvas.maxPoints);
  auto isHighlighted = [&](std::size_t i) { return !points.highlighted.empty() && points.highlighted[i]; };
  // The highlighted points go on top.
  for (bool highlighted : {false, true}) {
    bool opened = false;
    for (std::size_t i : shown) {
      const double x = points.x[i], y = points.y[i];
      if (isHighlighted(i) != highlighted || !onPlane(canvas, x, y)) continue;
      if (!opened) {
        openSeriesGroup(xml, highlighted ? Look::Highlighted : Look::Points, seriesIndex, points.cssClass);
        xml.newline();
        opened = true;
      }
      marker(xml, canvas.plane.x(x), canvas.plane.y(y),
             points.titles.empty() ? pointText(canvas, x, y) : points.titles[i]);
    }
    if (opened) xml.close("g").newline();
  }
}

void draw(Xml& xml, const Canvas& canvas, const Line& line, std::size_t seriesIndex) {
  openSeriesGroup(xml, line.dashed ? Look::DashedLine : Look::Line, seriesIndex, line.cssClass);
  xml.newline();
  std::string points;  // of the polyline being drawn
  bool havePrevious = false;
  Pixel previous{0, 0};
  for (std::size_t i : evenlyThinned(line.x.size(), canvas.maxPoints)) {
    if (!std::isfinite(line.x[i]) || !std::isfinite(line.y[i])) {
      polyline(xml, points), points.clear();
      havePrevious = false;
      continue;
    }
    const Pixel here{canvas.plane.x(line.x[i]), canvas.plane.y(line.y[i])};
    if (havePrevious) {
      Pixel a = previous, b = here;
      if (!clipToPlane(canvas.plane, a, b)) {
        polyline(xml, points), points.clear();
      } else {
        // Entering the plot area starts a new polyline; leaving it ends one.
        if (a.x != previous.x || a.y != previous.y) polyline(xml, points), points.clear();
        if (points.empty()) points = pixelText(a);
        points += " " + pixelText(b);
        if (b.x != here.x || b.y != here.y) polyline(xml, points), points.clear();
      }
    }
    previous = here;
    havePrevious = true;
  }
  polyline(xml, points);
  xml.close("g").newline();
}

void draw(Xml& xml, const Canvas& canvas, const ErrorBars& bars, std::size_t seriesIndex) {
  openSeriesGroup(xml, Look::Bars, seriesIndex, bars.cssClass);
  xml.newline();
  const Plane& plane = canvas.plane;
  for (std::size_t i : evenlyThinned(bars.x.size(), canvas.maxPoints)) {
    const double x = bars.x[i], y = bars.y[i];
    if (!onPlane(canvas, x, y)) continue;
    std::string title = bars.titles.empty() ? pointText(canvas, x, y) : bars.titles[i];
    const double cx = plane.x(x);
    std::string d;
    if (std::isfinite(bars.low[i]) && std::isfinite(bars.high[i])) {
      if (bars.titles.empty()) {
        const std::string unit = canvas.yAxis.unit.empty() ? "" : " " + canvas.yAxis.unit;
        title += " (" + significant(bars.low[i], canvas.yAxis.digits) + " to " +
                 significant(bars.high[i], canvas.yAxis.digits) + unit + ")";
      }
      // An interval running off the plot area is cut at its edge, without a cap there.
      const double low = plane.y(bars.low[i]), high = plane.y(bars.high[i]);
      const double bottom = std::min(std::max(low, high), plane.bottom), top = std::max(std::min(low, high), plane.top);
      d = "M" + coordinate(cx) + " " + coordinate(bottom) + "V" + coordinate(top);
      const std::string cap = "h" + coordinate(2 * style::kCap);
      if (bottom == std::max(low, high)) d += "M" + coordinate(cx - style::kCap) + " " + coordinate(bottom) + cap;
      if (top == std::min(low, high)) d += "M" + coordinate(cx - style::kCap) + " " + coordinate(top) + cap;
    }
    xml.open("g").body().element("title", title);
    if (!d.empty()) xml.open("path").attr("d", d).selfClose();
    xml.open("circle").attr("cx", cx).attr("cy", plane.y(y)).attr("r", style::kMarkerRadius).selfClose();
    xml.close("g").newline();
  }
  xml.close("g").newline();
}

void draw(Xml& xml, const Canvas& canvas, const ReferenceLine& line, std::size_t seriesIndex) {
  const Plane& plane = canvas.plane;
  if (!std::isfinite(line.y) || !plane.y.covers(line.y)) return;
  openSeriesGroup(xml, Look::Reference, seriesIndex, line.cssClass);
  const std::string d =
      "M" + coordinate(plane.left) + " " + coordinate(plane.y(line.y)) + "H" + coordinate(plane.right);
  xml.open("path").attr("d", d).selfClose().close("g").newline();
}

}  // namespace vk::plot

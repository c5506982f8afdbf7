#include "plot/Figure.h"

#include <stdexcept>
#include <string>
#include <type_traits>
#include <variant>

#include "plot/Axes.h"
#include "plot/Layout.h"
#include "plot/Legend.h"
#include "plot/Numbers.h"
#include "plot/SeriesDrawing.h"
#include "plot/Style.h"
#include "plot/Xml.h"

namespace vk::plot {
namespace {

void requireSameLength(std::size_t n, std::size_t other, const char* what) {
  if (other != n) throw std::invalid_argument(std::string("plot series: ") + what + " differs in length from x");
}

void requireOptional(std::size_t n, std::size_t other, const char* what) {
  if (other != 0) requireSameLength(n, other, what);
}

std::size_t pointCount(const Figure::Series& series) {
  return std::visit(
      [](const auto& s) -> std::size_t {
        if constexpr (requires { s.x.size(); })
          return s.x.size();
        else
          return 1;
      },
      series);
}

const std::string& labelOf(const Figure::Series& series) {
  return std::visit([](const auto& s) -> const std::string& { return s.label; }, series);
}

void extend(Extent& x, Extent& y, const Figure::Series& series) {
  std::visit(
      [&](const auto& s) {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, ReferenceLine>) {
          y.include(s.y);
        } else {
          for (double v : s.x) x.include(v);
          for (double v : s.y) y.include(v);
          if constexpr (std::is_same_v<S, ErrorBars>) {
            for (double v : s.low) y.include(v);
            for (double v : s.high) y.include(v);
          }
        }
      },
      series);
}

bool isReference(const Figure::Series& series) { return std::holds_alternative<ReferenceLine>(series); }

std::vector<LegendEntry> legendEntries(const std::vector<Figure::Series>& series) {
  std::vector<LegendEntry> entries;
  std::size_t index = 0;
  for (const Figure::Series& s : series) {
    std::visit(
        [&](const auto& one) {
          using S = std::decay_t<decltype(one)>;
          auto add = [&](Look look, const std::string& label) {
            if (!label.empty()) entries.push_back({look, index, one.cssClass, label});
          };
          if constexpr (std::is_same_v<S, Points>) {
            add(Look::Points, one.label);
            add(Look::Highlighted, one.highlightLabel);
          } else if constexpr (std::is_same_v<S, Line>) {
            add(one.dashed ? Look::DashedLine : Look::Line, one.label);
          } else if constexpr (std::is_same_v<S, ErrorBars>) {
            add(Look::Bars, one.label);
          } else {
            add(Look::Reference, one.label);
          }
        },
        s);
    if (!isReference(s)) ++index;
  }
  return entries;
}

}  // namespace

Figure::Figure(std::string title, Size size) : title_(std::move(title)), size_(size) {}

Axis& Figure::xAxis(std::string title, std::string unit, std::string symbol) {
  x_ = {std::move(title), std::move(unit), std::move(symbol)};
  return x_;
}

Axis& Figure::yAxis(std::string title, std::string unit, std::string symbol) {
  y_ = {std::move(title), std::move(unit), std::move(symbol)};
  return y_;
}

void Figure::add(Points points) {
  const std::size_t n = points.x.size();
  requireSameLength(n, points.y.size(), "y");
  requireOptional(n, points.highlighted.size(), "highlighted");
  requireOptional(n, points.titles.size(), "titles");
  series_.emplace_back(std::move(points));
}

void Figure::add(Line line) {
  requireSameLength(line.x.size(), line.y.size(), "y");
  series_.emplace_back(std::move(line));
}

void Figure::add(ErrorBars bars) {
  const std::size_t n = bars.x.size();
  requireSameLength(n, bars.y.size(), "y");
  requireSameLength(n, bars.low.size(), "low");
  requireSameLength(n, bars.high.size(), "high");
  requireOptional(n, bars.titles.size(), "titles");
  series_.emplace_back(std::move(bars));
}

void Figure::add(ReferenceLine line) { series_.emplace_back(std::move(line)); }

std::vector<Thinned> Figure::thinned() const {
  std::vector<Thinned> result;
  for (const Series& s : series_) {
    const std::size_t n = pointCount(s);
    const std::size_t shown = evenlyThinned(n, maxPoints_).size();
    if (shown < n) result.push_back({labelOf(s), shown, n});
  }
  return result;
}

std::string Figure::svg() const {
  using namespace style;
  Xml xml;
  xml.open("svg")
      .attr("xmlns", "http://www.w3.org/2000/svg")
      .attr("version", "1.1")
      .attr("class", "plot")
      .attr("width", "100%")
      .attr("viewBox", "0 0 " + coordinate(size_.width) + " " + coordinate(size_.height))
      .attr("font-family", "sans-serif")
      .attr("font-size", kFontSize)
      .body()
      .newline();

  double top = kPad;
  if (!title_.empty()) {
    drawTitle(xml, title_, top + kTitleFontSize);
    top += kTitleFontSize + 6;
  }
  std::vector<LegendEntry> legend = legendEntries(series_);
  const int legendRows = arrangeLegend(legend, size_.width - 2 * kPad);
  drawLegend(xml, legend, kPad, top);
  top += kLegendRow * legendRows + 4;

  Extent xData, yData;
  for (const Series& s : series_) extend(xData, yData, s);
  const Plane plane = layOut(size_, top, x_, y_, xData, yData);
  drawGrid(xml, plane);
  drawAxes(xml, plane, x_, y_, size_);

  const Canvas canvas{plane, x_, y_, maxPoints_};
  std::size_t index = 0;
  for (const Series& s : series_) {
    std::visit([&](const auto& one) { draw(xml, canvas, one, index); }, s);
    if (!isReference(s)) ++index;
  }
  xml.close("svg");
  return xml.str();
}

}  // namespace vk::plot

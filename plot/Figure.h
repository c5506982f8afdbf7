#pragma once
// A plot as inline SVG, for HTML reports: axes with nice ticks, series of
// points, lines and error bars, a legend. No script and no external
// resource; the same figure gives the same bytes on every machine.
//
//   plot::Figure fig{"Probe 1: DO against time"};
//   fig.xAxis("Time", "min", "t");
//   fig.yAxis("DO", "mg/L");
//   fig.add(plot::Points{.label = "Readings", .x = t, .y = c,
//                        .highlighted = kept, .highlightLabel = "Kept for the fit"});
//   fig.add(plot::sampled("Fitted curve", [&](double x) { return cinf - (cinf - c0) * std::exp(-kla * x); },
//                         t.front(), t.back()));
//   std::string svg = fig.svg();
//   for (const plot::Thinned& t : fig.thinned())
//     note += plot::thinningNote(t, "readings") + "; the fit statistics use every reading.";
//
// The SVG is `width="100%"` with a viewBox of the figure's size, so it
// scales to the page and prints on A4. Elements carry classes the page's CSS
// can colour ("plot-title", "plot-grid", "plot-frame", "plot-tick-labels",
// "plot-axis-title", "plot-legend"; per series "plot-points",
// "plot-highlighted", "plot-line", "plot-bars" or "plot-reference", with
// "plot-s0", "plot-s1" ... by order of addition and the series' own
// cssClass); presentation attributes give the colours when it does not.

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "plot/Series.h"
#include "plot/Thinning.h"

namespace vk::plot {

// The drawing's size in its own units (the viewBox); the page scales it.
struct Size {
  double width = 720;
  double height = 360;
};

struct Axis {
  std::string title{};                 // "Time"
  std::string unit{};                  // "min": the axis reads "Time (min)"
  std::string symbol{};                // in hover texts, "t = 12.5 min"; the title when empty
  int digits = 6;                      // significant digits of values in hover texts
  std::optional<double> min{}, max{};  // fixed ends; otherwise the data's, out to the next tick
};

class Figure {
 public:
  explicit Figure(std::string title, Size size = {});

  Axis& xAxis(std::string title, std::string unit = {}, std::string symbol = {});
  Axis& yAxis(std::string title, std::string unit = {}, std::string symbol = {});

  // Series are drawn, and listed in the legend, in the order added. Vectors
  // of one series that differ in length are an std::invalid_argument.
  void add(Points points);
  void add(Line line);
  void add(ErrorBars bars);
  void add(ReferenceLine line);

  // Series with more points than this are drawn thinned (2,000 unless set).
  void setMaxPoints(std::size_t maxPoints) { maxPoints_ = maxPoints; }
  // The series drawn thinned, for the note under the plot.
  std::vector<Thinned> thinned() const;

  std::string svg() const;

  using Series = std::variant<Points, Line, ErrorBars, ReferenceLine>;

 private:
  std::string title_;
  Size size_;
  Axis x_, y_;
  std::vector<Series> series_;
  std::size_t maxPoints_ = 2000;
};

}  // namespace vk::plot

#pragma once
// What a figure draws. Each series has a legend label (none when empty) and
// may name an extra CSS class for the page's style sheet. Points with a
// non-finite coordinate are left out; so are points outside an axis whose
// ends the caller fixed.

#include <functional>
#include <string>
#include <vector>

namespace vk::plot {

// Markers, each with a hover text. Highlighted points (say the readings the
// fit kept) are drawn filled, the others hollow, in the series' colour.
struct Points {
  std::string label{};
  std::vector<double> x{}, y{};
  std::vector<bool> highlighted{};    // empty, or one flag per point
  std::string highlightLabel{};       // the legend's label for highlighted points
  std::vector<std::string> titles{};  // empty: "t = 12.5 min, DO = 6.43 mg/L"
  std::string cssClass{};
};

// A polyline through the points in their order; a non-finite point breaks it.
struct Line {
  std::string label{};
  std::vector<double> x{}, y{};
  bool dashed = false;
  std::string cssClass{};
};

// A curve y = f(x) sampled at `samples` (at least 2) evenly spaced x from
// `from` to `to`.
Line sampled(std::string label, const std::function<double(double)>& f, double from, double to, int samples = 200);

// Markers with a vertical bar from low to high, e.g. a result and its
// interval.
struct ErrorBars {
  std::string label{};
  std::vector<double> x{}, y{}, low{}, high{};
  std::vector<std::string> titles{};  // empty: "Q = 120 scfm, SOTE = 25.1 % (22.3 to 28 %)"
  std::string cssClass{};
};

// A horizontal line across the plot, e.g. zero on a residual plot.
struct ReferenceLine {
  double y = 0;
  std::string label{};
  std::string cssClass{};
};

}  // namespace vk::plot

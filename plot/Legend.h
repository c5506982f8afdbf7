#pragma once
// The legend: one entry per labelled series (two for points with a
// highlight label), in rows across the top of the figure, wrapped to its
// width.

#include <cstddef>
#include <string>
#include <vector>

#include "plot/SeriesStyle.h"
#include "plot/Xml.h"

namespace vk::plot {

struct LegendEntry {
  Look look;
  std::size_t seriesIndex;
  std::string cssClass;
  std::string label;
  double x = 0;  // from the legend's left edge, set by arrangeLegend
  int row = 0;
};

// Places the entries in rows no wider than `width`; returns the row count.
int arrangeLegend(std::vector<LegendEntry>& entries, double width);

void drawLegend(Xml& xml, const std::vector<LegendEntry>& entries, double left, double top);

}  // namespace vk::plot

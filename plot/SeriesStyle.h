#pragma once
// The group that gives a series its look, shared by the series and its
// sample in the legend, so that the two always match.

#include <cstddef>
#include <string_view>

#include "plot/Xml.h"

namespace vk::plot {

enum class Look { Points, Highlighted, Line, DashedLine, Bars, Reference };

// Opens <g class="plot-... plot-sN cssClass" ...presentation...>, N being
// the series' number among those that are not reference lines; the caller
// closes it.
void openSeriesGroup(Xml& xml, Look look, std::size_t seriesIndex, std::string_view cssClass);

}  // namespace vk::plot

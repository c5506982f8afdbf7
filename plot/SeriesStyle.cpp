#include "plot/SeriesStyle.h"

#include <string>

#include "plot/Style.h"

namespace vk::plot {

void openSeriesGroup(Xml& xml, Look look, std::size_t seriesIndex, std::string_view cssClass) {
  const std::string_view colour = look == Look::Reference ? style::kReference : style::colour(seriesIndex);
  std::string classes;
  switch (look) {
    case Look::Points: classes = "plot-points"; break;
    case Look::Highlighted: classes = "plot-highlighted"; break;
    case Look::Line:
    case Look::DashedLine: classes = "plot-line"; break;
    case Look::Bars: classes = "plot-bars"; break;
    case Look::Reference: classes = "plot-reference"; break;
  }
  // A reference line is no data series: grey, and no number of its own.
  if (look != Look::Reference) classes += " plot-s" + std::to_string(seriesIndex);
  if (!cssClass.empty()) classes += " " + std::string(cssClass);

  xml.open("g").attr("class", classes);
  switch (look) {
    case Look::Points: xml.attr("fill", "#fff").attr("stroke", colour).attr("stroke-width", "1.2"); break;
    case Look::Highlighted: xml.attr("fill", colour).attr("stroke", colour).attr("stroke-width", "1.2"); break;
    case Look::Line: xml.attr("fill", "none").attr("stroke", colour).attr("stroke-width", "1.5"); break;
    case Look::DashedLine:
      xml.attr("fill", "none").attr("stroke", colour).attr("stroke-width", "1.5").attr("stroke-dasharray", "6 4");
      break;
    case Look::Bars: xml.attr("fill", colour).attr("stroke", colour).attr("stroke-width", "1.2"); break;
    case Look::Reference: xml.attr("fill", "none").attr("stroke", colour).attr("stroke-width", "1"); break;
  }
  xml.body();
}

}  // namespace vk::plot

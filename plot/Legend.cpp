#include "plot/Legend.h"

#include "plot/Numbers.h"
#include "plot/Style.h"

namespace vk::plot {
namespace {

constexpr double kLabelGap = 5;
constexpr double kEntryGap = 16;

double entryWidth(const LegendEntry& entry) {
  return style::kSwatch + kLabelGap + style::textWidth(entry.label, style::kTickFontSize);
}

void drawSwatch(Xml& xml, const LegendEntry& entry, double x, double middle) {
  using namespace style;
  openSeriesGroup(xml, entry.look, entry.seriesIndex, entry.cssClass);
  const double centre = x + kSwatch / 2;
  switch (entry.look) {
    case Look::Points:
    case Look::Highlighted:
      xml.open("circle").attr("cx", centre).attr("cy", middle).attr("r", kMarkerRadius).selfClose();
      break;
    case Look::Bars:
      xml.open("path")
          .attr("d", "M" + coordinate(centre) + " " + coordinate(middle - 6) + "v12")
          .selfClose()
          .open("circle")
          .attr("cx", centre)
          .attr("cy", middle)
          .attr("r", kMarkerRadius)
          .selfClose();
      break;
    case Look::Line:
    case Look::DashedLine:
    case Look::Reference:
      xml.open("path")
          .attr("d", "M" + coordinate(x) + " " + coordinate(middle) + "h" + coordinate(kSwatch))
          .selfClose();
      break;
  }
  xml.close("g");
}

}  // namespace

int arrangeLegend(std::vector<LegendEntry>& entries, double width) {
  int row = 0;
  double x = 0;
  for (LegendEntry& entry : entries) {
    const double w = entryWidth(entry);
    if (x > 0 && x + w > width) ++row, x = 0;
    entry.x = x;
    entry.row = row;
    x += w + kEntryGap;
  }
  return entries.empty() ? 0 : row + 1;
}

void drawLegend(Xml& xml, const std::vector<LegendEntry>& entries, double left, double top) {
  if (entries.empty()) return;
  using namespace style;
  xml.open("g").attr("class", "plot-legend").attr("font-size", kTickFontSize).body().newline();
  for (const LegendEntry& entry : entries) {
    const double x = left + entry.x;
    const double middle = top + kLegendRow * (entry.row + 0.5);
    drawSwatch(xml, entry, x, middle);
    xml.open("text")
        .attr("x", x + kSwatch + kLabelGap)
        .attr("y", middle + 0.35 * kTickFontSize)
        .attr("fill", kText)
        .body()
        .text(entry.label)
        .close("text")
        .newline();
  }
  xml.close("g").newline();
}

}  // namespace vk::plot

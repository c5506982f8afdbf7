// The second page of a campaign report: SOTE and SOTR against the air flow,
// every workbook's point with its interval and the fitted power law, what
// was fitted, and above it all why the workbooks may not be one campaign.

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

#include "assess/Units.h"
#include "export/html/CampaignSections.h"
#include "export/html/Figures.h"
#include "export/html/Text.h"
#include "plot/Figure.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

using namespace vk::campaign;
using assess::units::Dimension;

struct Quantity {
  const char* name;  // "SOTE"
  const char* unit;  // "%"
  assess::Maybe<RowFigure> CampaignRow::*figure;
  const PerformanceCurve& curve;
};

// "y = 52.6·Q^-0.179"
std::string equation(const Quantity& q, const PowerLawFit& fit) {
  return std::string(q.name) + " = " + plot::significant(fit.a, 4) + "·Q^" + plot::significant(fit.b, 4);
}

plot::Figure curveFigure(const Quantity& q, const std::vector<CampaignRow>& rows, const CampaignCurves& curves) {
  plot::Figure fig{std::string(q.name) + " against the air flow", {720, 300}};
  fig.xAxis("Air flow", "scfm", "Q").min = 0;  // from no air, so that the points keep their distance from the frame
  fig.yAxis(q.name, q.unit);
  plot::ErrorBars on{.label = "Workbook: the average of its probes and the 95 % interval of their mean"};
  plot::ErrorBars off{.label = "More than 2 residual SDs off the SOTE curve", .cssClass = "plot-off-curve"};
  for (std::size_t k = 0; k < q.curve.rows.size(); ++k) {
    const CampaignRow& row = rows[q.curve.rows[k]];
    const RowFigure& f = *(row.*q.figure);
    plot::ErrorBars& bars = curves.offCurve[q.curve.rows[k]] ? off : on;
    const double low = f.ci95 ? f.ci95->low : f.value, high = f.ci95 ? f.ci95->high : f.value;
    bars.x.push_back(q.curve.q[k]);
    bars.y.push_back(f.value);
    bars.low.push_back(low);
    bars.high.push_back(high);
    bars.titles.push_back(
        row.name + ": Q = " + plot::significant(q.curve.q[k], 5) + " scfm, " + q.name + " = " +
        plot::significant(f.value, 5) + " " + q.unit +
        (f.ci95 ? " (" + plot::significant(low, 5) + " to " + plot::significant(high, 5) + " " + q.unit + ")"
                : " (no interval: " + f.ci95.reason + ")"));
  }
  fig.add(std::move(on));
  if (!off.x.empty()) fig.add(std::move(off));
  if (q.curve.fit) {
    const PowerLawFit fit = *q.curve.fit;
    const auto [low, high] = std::minmax_element(q.curve.q.begin(), q.curve.q.end());
    fig.add(plot::sampled(
        equation(q, fit), [fit](double flow) { return fit.at(flow); }, *low, *high));
  }
  return fig;
}

void fitRow(std::ostream& out, const Quantity& q, double siScale) {
  out << "<tr><td class=\"name\">" << q.name << " <span class=\"unit\">(" << unitText(q.unit) << ")</span></td>";
  if (!q.curve.fit) {
    out << "<td colspan=\"7\">" << notApplicable(q.curve.fit.reason) << "</td><td>" << q.curve.rows.size()
        << "</td></tr>\n";
    return;
  }
  const PowerLawFit& f = *q.curve.fit;
  const double aSi = siScale * f.a * std::pow(assess::units::toSi(Dimension::AirFlow, 1), -f.b);
  out << "<td>" << number(f.a, kParameterDigits) << "</td><td>" << number(aSi, kParameterDigits) << "</td><td>"
      << number(f.b, kParameterDigits) << "</td><td>" << number(f.seB, 3) << "</td><td>" << number(f.seLnA, 3)
      << "</td><td>" << number(f.rSquared, 5) << "</td><td>" << number(f.residualSd, 3) << "</td><td>"
      << std::to_string(f.points) << "</td></tr>\n";
}

std::string names(const std::vector<CampaignRow>& rows, bool (*which)(const CampaignRow&)) {
  std::string list;
  for (const CampaignRow& r : rows)
    if (which(r)) list += (list.empty() ? "" : ", ") + r.name;
  return list;
}

}  // namespace

void writeCampaignCurvesPage(std::ostream& out, const std::vector<CampaignRow>& rows, const CampaignCurves& curves) {
  const Quantity sote{"SOTE", "%", &CampaignRow::sote, curves.sote};
  const Quantity sotr{"SOTR", assess::units::usUnit(Dimension::MassRate), &CampaignRow::sotr, curves.sotr};
  out << "<section class=\"page\" data-page=\"campaign-curves\">\n<div data-section=\"campaign-curves\">\n"
         "<h2>Performance curve</h2>\n";
  for (const std::string& w : curves.warnings) out << "<p class=\"warning\">" << esc(w) << "</p>\n";
  out << "<p class=\"lead\">SOTE and SOTR against the air flow, fitted as y = a·Q<sup>b</sup> by least squares "
         "on the logarithms, one point per workbook with an air flow, every point weighted equally; a curve needs "
         "at least three distinct air flows.</p>\n";
  writeFigure(out, curveFigure(sote, rows, curves), "campaign-sote", "workbooks");
  writeFigure(out, curveFigure(sotr, rows, curves), "campaign-sotr", "workbooks");
  out << "<table class=\"fits\">\n<tr><th class=\"name\">Curve</th><th>a <span class=\"unit\">(Q in scfm)</span>"
         "</th><th>a <span class=\"unit\">(SI, Q in m³/h)</span></th><th>b</th><th>SE of b</th><th>SE of ln a</th>"
         "<th>R² <span class=\"unit\">(logarithms)</span></th><th>Residual SD <span class=\"unit\">(ln)</span></th>"
         "<th>Workbooks</th></tr>\n";
  fitRow(out, sote, 1);
  fitRow(out, sotr, assess::units::toSi(Dimension::MassRate, 1));
  out << "</table>\n";
  std::string offCurve;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (curves.offCurve[i]) offCurve += (offCurve.empty() ? "" : ", ") + rows[i].name;
  if (!offCurve.empty())
    out << "<p class=\"warning\">More than 2 residual standard deviations off the SOTE curve (in logarithms): "
        << esc(offCurve) << ".</p>\n";
  const std::string withoutAirFlow = names(rows, [](const CampaignRow& r) { return r.analysed() && !r.hasAirFlow(); });
  if (!withoutAirFlow.empty())
    out << "<p class=\"note\">Without an air flow, so in the summary but not on the curves: " << esc(withoutAirFlow)
        << ".</p>\n";
  const std::string faulted = names(rows, [](const CampaignRow& r) { return !r.analysed(); });
  if (!faulted.empty()) out << "<p class=\"note\">Not analysed: " << esc(faulted) << ".</p>\n";
  out << "</div>\n</section>\n";
}

}  // namespace vk::exporter::html

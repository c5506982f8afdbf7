#include "campaign/PerformanceCurve.h"

#include <algorithm>
#include <cmath>

#include "plot/Numbers.h"

namespace vk::campaign {

namespace {

PerformanceCurve curveOf(const std::vector<CampaignRow>& rows, assess::Maybe<RowFigure> CampaignRow::*figure) {
  PerformanceCurve curve;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CampaignRow& row = rows[i];
    if (!row.hasAirFlow() || !(row.*figure)) continue;
    curve.rows.push_back(i);
    curve.q.push_back(row.airFlowScfm);
    curve.y.push_back((row.*figure)->value);
  }
  curve.fit = fitPowerLaw(curve.q, curve.y);
  return curve;
}

std::string text(double v) { return plot::significant(v, 3); }

// The smallest and the largest of a quantity among the curve's workbooks.
struct Extremes {
  std::size_t low = 0, high = 0;
};
template <class Value>
Extremes extremes(const std::vector<std::size_t>& rows, Value value) {
  Extremes e{rows.front(), rows.front()};
  for (std::size_t i : rows) {
    if (value(i) < value(e.low)) e.low = i;
    if (value(i) > value(e.high)) e.high = i;
  }
  return e;
}

std::vector<std::string> campaignWarnings(const std::vector<CampaignRow>& rows, const std::vector<std::size_t>& on) {
  std::vector<std::string> warnings;
  if (on.size() < 2) return warnings;
  const auto temperature = [&](std::size_t i) { return rows[i].waterTempC; };
  const Extremes t = extremes(on, temperature);
  const double spreadC = temperature(t.high) - temperature(t.low);
  if (spreadC > kSameCampaignTemperatureSpreadC)
    warnings.push_back("The water temperatures differ by " + text(spreadC) + " °C (" + text(temperature(t.low)) +
                       " °C in " + rows[t.low].name + ", " + text(temperature(t.high)) + " °C in " + rows[t.high].name +
                       "), more than " + text(kSameCampaignTemperatureSpreadC) +
                       " °C: the workbooks may not belong to one campaign.");
  std::vector<std::size_t> withDepth;
  std::copy_if(on.begin(), on.end(), std::back_inserter(withDepth),
               [&](std::size_t i) { return rows[i].satDepthFt && *rows[i].satDepthFt > 0; });
  if (withDepth.size() < 2) return warnings;
  const auto depth = [&](std::size_t i) { return *rows[i].satDepthFt; };
  const Extremes d = extremes(withDepth, depth);
  const double spreadPercent = 100 * (depth(d.high) - depth(d.low)) / depth(d.low);
  if (spreadPercent > kSameCampaignDepthSpreadPercent)
    warnings.push_back("The effective saturation depths differ by " + text(spreadPercent) + " % (" +
                       text(depth(d.low)) + " ft in " + rows[d.low].name + ", " + text(depth(d.high)) + " ft in " +
                       rows[d.high].name + "), more than " + text(kSameCampaignDepthSpreadPercent) +
                       " %: the workbooks may not belong to one campaign.");
  return warnings;
}

}  // namespace

CampaignCurves performanceCurves(const std::vector<CampaignRow>& rows) {
  CampaignCurves curves;
  curves.sote = curveOf(rows, &CampaignRow::sote);
  curves.sotr = curveOf(rows, &CampaignRow::sotr);
  curves.offCurve.assign(rows.size(), false);
  if (const auto& fit = curves.sote.fit) {
    for (std::size_t k = 0; k < curves.sote.rows.size(); ++k) {
      const double off = std::fabs(fit->residuals[k]);
      curves.offCurve[curves.sote.rows[k]] =
          off > kNegligibleLogResidual && off > kOffCurveResidualSds * fit->residualSd;
    }
  }
  // The SOTR curve has every workbook with an air flow; the SOTE curve the same ones.
  curves.warnings = campaignWarnings(rows, curves.sotr.rows);
  return curves;
}

}  // namespace vk::campaign

#include "export/CampaignJson.h"

#include <cmath>
#include <ostream>
#include <sstream>

#include "assess/CheckTable.h"
#include "export/JsonValues.h"

namespace vk::exporter {

namespace {

using namespace vk::campaign;
using namespace vk::exporter::json;
using assess::Maybe;
using assess::units::Dimension;

Json figure(const RowFigure& f, double scale = 1) {
  Json ci = f.ci95 ? interval({f.ci95->low * scale, f.ci95->high * scale}) : notApplicable(f.ci95.reason);
  return Json{{"estimate", num(f.value * scale)}, {"ci95", ci}};
}

Json figure(const Maybe<RowFigure>& f) { return f ? figure(*f) : notApplicable(f.reason); }

Json rowBlock(const CampaignRow& row, bool onCurve, bool offCurve) {
  const std::string notAnalysed = "not analysed";
  const bool ok = row.analysed();
  const double kgPerLb = assess::units::toSi(Dimension::MassRate, 1);
  return Json{
      {"name", row.name},
      {"fault", ok ? Json(nullptr) : Json(row.fault)},
      {"water_temperature_c", ok ? num(row.waterTempC) : notApplicable(notAnalysed)},
      {"air_flow", !ok                ? notApplicable(notAnalysed)
                   : row.hasAirFlow() ? usSi(row.airFlowScfm, Dimension::AirFlow)
                                      : notApplicable("no air flow is given")},
      {"kla20_per_h", figure(row.kla20)},
      {"cinf20_mg_per_l", figure(row.cinf20)},
      {"sotr",
       row.sotr ? Json{{"us", figure(*row.sotr)}, {"si", figure(*row.sotr, kgPerLb)}} : notApplicable(row.sotr.reason)},
      {"sote_percent", figure(row.sote)},
      {"effective_saturation_depth",
       row.satDepthFt ? usSi(*row.satDepthFt, Dimension::Length) : notApplicable(row.satDepthFt.reason)},
      {"diffuser_submergence", !ok                 ? notApplicable(notAnalysed)
                               : row.submergenceFt ? usSi(*row.submergenceFt, Dimension::Length)
                                                   : notApplicable("the workbook gives no diffuser submergence")},
      {"ssote", row.ssotePerFt ? Json{{"percent_per_ft", figure(*row.ssotePerFt)},
                                      {"percent_per_m", figure(perMetre(*row.ssotePerFt))}}
                               : notApplicable(row.ssotePerFt.reason)},
      {"verdict", ok ? Json(assess::verdictName(row.worst)) : Json(nullptr)},
      {"on_curve", onCurve},
      {"sote_off_curve", offCurve}};
}

// y = a·Q^b in the program's units, and a for Q in m³/h (and y in kg O2/h
// for SOTR): y = a·(Q_si / k)^b = (a·k^-b)·Q_si^b.
Json curveBlock(const PerformanceCurve& curve, bool sotr) {
  Json fit;
  if (curve.fit) {
    const PowerLawFit& f = *curve.fit;
    const double perScfm = assess::units::toSi(Dimension::AirFlow, 1);
    const double ySi = sotr ? assess::units::toSi(Dimension::MassRate, 1) : 1;
    fit = Json{{"a", Json{{"us", num(f.a)}, {"si", num(ySi * f.a * std::pow(perScfm, -f.b))}}},
               {"b", num(f.b)},
               {"se_ln_a", num(f.seLnA)},
               {"se_b", num(f.seB)},
               {"r_squared", maybe(f.rSquared)},
               {"residual_sd_ln", num(f.residualSd)},
               {"dof", f.points - 2}};
  } else {
    fit = notApplicable(curve.fit.reason);
  }
  const Json unit = sotr ? Json{{"us", assess::units::usUnit(Dimension::MassRate)},
                                {"si", assess::units::siUnit(Dimension::MassRate)}}
                         : Json{{"us", "%"}, {"si", "%"}};
  return Json{{"points", curve.rows.size()}, {"y_unit", unit}, {"fit", fit}};
}

}  // namespace

void writeCampaignJson(std::ostream& out, const CampaignHeader& header, const std::vector<CampaignRow>& rows,
                       const CampaignCurves& curves, const std::function<void(std::ostream&)>& writeTests) {
  Json summary = Json::array();
  std::vector<bool> onCurve(rows.size(), false);
  for (std::size_t i : curves.sotr.rows) onCurve[i] = true;
  std::size_t analysed = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    summary.push_back(rowBlock(rows[i], onCurve[i], curves.offCurve[i]));
    if (rows[i].analysed()) ++analysed;
  }
  Json warnings = Json::array();
  for (const std::string& w : curves.warnings) warnings.push_back(w);
  const Json doc{
      {"schema_version", kSchemaVersion},
      {"header", Json{{"program", "velm-kalix"},
                      {"program_version", header.programVersion},
                      {"analysis_time", header.analysisTime},
                      {"engine", header.engine}}},
      {"campaign",
       Json{
           {"workbooks", rows.size()},
           {"analysed", analysed},
           {"faulted", rows.size() - analysed},
           {"summary", summary},
           {"warnings", warnings},
           {"curves", Json{{"equation", "y = a * Q^b, least squares on ln y and ln Q, every workbook weighted equally"},
                           {"air_flow_unit", Json{{"us", "scfm"}, {"si", "m3/h"}}},
                           {"off_curve_residual_sds", num(kOffCurveResidualSds)},
                           {"sote_percent", curveBlock(curves.sote, false)},
                           {"sotr", curveBlock(curves.sotr, true)}}}}}};
  // The tests last, streamed in: the document so far without its closing brace.
  std::string head = doc.dump(2, ' ', false, Json::error_handler_t::replace);
  head.erase(head.rfind('}'));
  while (!head.empty() && head.back() == '\n') head.pop_back();
  out << head << ",\n  \"tests\": [\n";
  writeTests(out);
  out << "\n  ]\n}\n";
}

std::string campaignTestJson(const ReportHeader& header, const assess::RunRecord& record,
                             const assess::Assessment& assessment) {
  std::istringstream lines(assessmentJson(header, record, assessment));
  std::string indented, line;
  while (std::getline(lines, line)) indented += (indented.empty() ? "    " : "\n    ") + line;
  return indented;
}

}  // namespace vk::exporter

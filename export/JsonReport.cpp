#include "export/JsonReport.h"

#include <ostream>

#include "assess/StandardBasis.h"
#include "assess/Units.h"
#include "export/JsonValues.h"

namespace vk::exporter {

namespace {

using namespace vk::assess;
using namespace vk::exporter::json;
using units::Dimension;

Json optional(const std::optional<double>& v, const char* whyNot) { return v ? num(*v) : notApplicable(whyNot); }

Json estimate(const StandardEstimate& e, double scale = 1) {
  return Json{{"estimate", num(e.value * scale)},
              {"se", num(e.se * scale)},
              {"ci95", interval({e.ci95.low * scale, e.ci95.high * scale})}};
}

Json estimateUsSi(const StandardEstimate& e, Dimension d) {
  return Json{{"us", estimate(e)}, {"si", estimate(e, units::toSi(d, 1.0))}};
}

Json unitsBlock() {
  Json u;
  for (auto [name, d] : {std::pair{"mass_rate", Dimension::MassRate},
                         {"length", Dimension::Length},
                         {"volume", Dimension::Volume},
                         {"pressure", Dimension::Pressure},
                         {"air_flow", Dimension::AirFlow}})
    u[name] = Json{{"us", units::usUnit(d)}, {"si", units::siUnit(d)}, {"si_per_us", num(units::toSi(d, 1.0))}};
  return u;
}

Json basisBlock() {
  namespace b = basis;
  return Json{{"statement", b::kStatement},
              {"standard_temperature_c", num(b::kStdTempC)},
              {"standard_pressure", usSi(b::kStdPressInHg, Dimension::Pressure)},
              {"surface_saturation_20c_mg_per_l", num(b::kSatDO20)},
              {"theta", num(b::kTheta)},
              {"lb_o2_per_mg_per_l_ft3", num(b::kLbO2PerMgLFt3)},
              {"o2_per_standard_air_flow",
               Json{{"us_lb_o2_per_h_per_scfm", num(b::kLbO2PerHourPerScfm)},
                    {"si_kg_o2_per_h_per_m3_per_h", num(units::toSi(Dimension::MassRate, b::kLbO2PerHourPerScfm) /
                                                        units::toSi(Dimension::AirFlow, 1.0))}}}};
}

Json conditionsBlock(const Conditions& c) {
  return Json{{"water_temperature_c", num(c.waterTempC)},
              {"barometric_pressure", usSi(c.baroPressInHg, Dimension::Pressure)},
              {"tank_volume", usSi(c.tankVolumeFt3, Dimension::Volume)},
              {"air_flow",
               c.airFlowScfm != 0 ? usSi(c.airFlowScfm, Dimension::AirFlow) : notApplicable("no air flow is given")}};
}

Json programBlock(const SetRecord& s) {
  const SolverSummary& sv = s.fit.solver;
  const ProgramFigures& f = s.figures;
  return Json{{"c0_mg_per_l", num(s.fit.c0)},
              {"cinf_mg_per_l", num(s.fit.cinf)},
              {"kla_per_min", num(s.fit.kla)},
              {"std_err_mg_per_l", optional(s.fit.stdErr, "the fit did not converge")},
              {"solver", Json{{"passes", sv.passes},
                              {"pass_limit", sv.passLimit},
                              {"converged", sv.converged},
                              {"stop_reason", stopReasonName(sv.stopReason)},
                              {"initial_sum_sq", num(sv.initialSumSq)},
                              {"final_sum_sq", num(sv.finalSumSq)}}},
              {"figures", Json{{"vapour_pressure", usSi(f.pv, Dimension::Pressure)},
                               {"saturation_at_test_mg_per_l", num(f.csT)},
                               {"tau", num(f.tau)},
                               {"omega", num(f.omega)},
                               {"cinf20_mg_per_l", num(f.cinf20)},
                               {"kla20_per_h", num(f.kla20)},
                               {"klat_per_h", num(f.klaT)},
                               {"sotr", usSi(f.sotr, Dimension::MassRate)},
                               {"sote_percent", optional(f.sote, "no air flow is given")},
                               {"saturation_depth", usSi(f.satDepthFt, Dimension::Length)}}}};
}

Json optimumBlock(const Optimum& o) {
  return Json{{"converged", o.converged},         {"stop", o.stop},
              {"iterations", o.iterations},       {"evaluations", o.evaluations},
              {"c0_mg_per_l", num(o.params.c0)},  {"cinf_mg_per_l", num(o.params.cinf)},
              {"kla_per_min", num(o.params.kla)}, {"sum_sq", num(o.ssr)}};
}

constexpr const char* kParamNames[kParameters] = {"c0", "cinf", "kla"};

Json comparisonBlock(const SetAssessment& a) {
  Json c;
  for (int p = 0; p < kParameters; ++p) {
    const ParameterComparison& pc = a.comparison[static_cast<std::size_t>(p)];
    c[kParamNames[p]] = Json{{"program", num(pc.program)},
                             {"optimum", num(pc.optimum)},
                             {"relative_difference", maybe(pc.relativeDifference)}};
  }
  return c;
}

Json uncertaintyBlock(const Maybe<ParameterUncertainty>& mu, const CurveParams& at) {
  if (!mu) return notApplicable(mu.reason);
  const ParameterUncertainty& u = *mu;
  Json params, covariance = Json::array();
  for (int p = 0; p < kParameters; ++p) {
    const auto k = static_cast<std::size_t>(p);
    params[kParamNames[p]] = Json{{"estimate", num(at[p])}, {"se", num(u.se[k])}, {"ci95", interval(u.ci95[k])}};
    Json row = Json::array();
    for (int q = 0; q < kParameters; ++q) row.push_back(num(u.covariance(p, q)));
    covariance.push_back(row);
  }
  return Json{{"dof", u.dof},
              {"s_mg_per_l", num(u.s)},
              {"t975", num(u.t975)},
              {"parameters", params},
              {"correlation", Json{{"c0_cinf", num(u.correlation(kC0, kCinf))},
                                   {"c0_kla", num(u.correlation(kC0, kKLa))},
                                   {"cinf_kla", num(u.correlation(kCinf, kKLa))}}},
              {"covariance", covariance}};
}

Json standardBlock(const Maybe<StandardUncertainty>& ms) {
  if (!ms) return notApplicable(ms.reason);
  const StandardUncertainty& s = *ms;
  return Json{{"kla20_per_h", estimate(s.kla20)},
              {"cinf20_mg_per_l", estimate(s.cinf20)},
              {"sotr", estimateUsSi(s.sotr, Dimension::MassRate)},
              {"sote_percent", s.sote ? estimate(*s.sote) : notApplicable("no air flow is given")}};
}

Json residualsBlock(const ResidualDiagnostics& r) {
  return Json{
      {"lag1_autocorrelation", maybe(r.lag1Autocorrelation)},
      {"durbin_watson", maybe(r.durbinWatson)},
      {"runs", Json{{"positive", r.positive}, {"negative", r.negative}, {"runs", r.runs}, {"z", maybe(r.runsZ)}}},
      {"largest_abs_over_s", maybe(r.largestScaled)}};
}

Json truncationBlock(const Truncation& t) {
  Json points = Json::array();
  for (const auto& p : t.points) {
    Json fit = p.fit ? Json{{"c0_mg_per_l", num(p.fit->params.c0)},
                            {"cinf_mg_per_l", num(p.fit->params.cinf)},
                            {"kla_per_min", num(p.fit->params.kla)},
                            {"kla20_per_h", num(p.fit->kla20)},
                            {"cinf20_mg_per_l", num(p.fit->cinf20)}}
                     : notApplicable(p.fit.reason);
    points.push_back(Json{{"threshold_percent", num(p.thresholdPercent)}, {"kept_readings", p.kept}, {"fit", fit}});
  }
  return Json{{"compared_threshold_percent", num(kTruncationComparedPercent)},
              {"kla20_change_percent", maybe(t.kla20ChangePercent)},
              {"points", points}};
}

Json initialAnalysisBlock(const std::vector<InitialEstimate>& rows) {
  Json out = Json::array();
  for (const auto& r : rows)
    out.push_back(Json{{"threshold_percent", num(r.thresholdPercent)},
                       {"c0_mg_per_l", num(r.c0)},
                       {"cinf_mg_per_l", num(r.cinf)},
                       {"kla_per_min", num(r.kla)}});
  return out;
}

Json setBlock(const SetRecord& rec, const SetAssessment& a) {
  return Json{{"set", rec.set},
              {"start_threshold_percent", num(rec.startPercent)},
              {"time_shift_min", num(rec.timeShift)},
              {"raw_readings", rec.raw.size()},
              {"kept_readings", rec.kept.size()},
              {"program", programBlock(rec)},
              {"optimum", optimumBlock(a.optimum)},
              {"comparison", comparisonBlock(a)},
              {"parameter_uncertainty", uncertaintyBlock(a.parameters, a.optimum.params)},
              {"standardised_uncertainty", standardBlock(a.standard)},
              {"residuals", residualsBlock(a.residuals)},
              {"truncation", truncationBlock(a.truncation)},
              {"initial_analysis", initialAnalysisBlock(rec.initialAnalysis)}};
}

Json spreadStats(const Maybe<SpreadStats>& ms, double scale = 1) {
  if (!ms) return notApplicable(ms.reason);
  return Json{{"probes", ms->probes},
              {"mean", num(ms->mean * scale)},
              {"sd", num(ms->sd * scale)},
              {"cv_percent", num(ms->cvPercent)},
              {"mean_ci95", interval({ms->meanCi95.low * scale, ms->meanCi95.high * scale})}};
}

Json spreadBlock(const ProbeSpread& s) {
  return Json{
      {"kla20_per_h", spreadStats(s.kla20)},
      {"cinf20_mg_per_l", spreadStats(s.cinf20)},
      {"sotr", Json{{"us", spreadStats(s.sotr)}, {"si", spreadStats(s.sotr, units::toSi(Dimension::MassRate, 1.0))}}},
      {"sote_percent", spreadStats(s.sote)}};
}

Json averagesBlock(const ProgramAverages& a) {
  const char* none = "not written";
  return Json{{"kla20_per_h", optional(a.kla20, none)},
              {"cinf20_mg_per_l", optional(a.cinf20, none)},
              {"sotr", a.sotr ? usSi(*a.sotr, Dimension::MassRate) : notApplicable(none)},
              {"sote_percent", optional(a.sote, none)},
              {"saturation_depth", a.satDepthFt ? usSi(*a.satDepthFt, Dimension::Length) : notApplicable(none)},
              {"std_err_mg_per_l", optional(a.stdErr, none)}};
}

Json checksBlock(const std::vector<CheckResult>& checks) {
  Json out = Json::array();
  for (const auto& c : checks) {
    Json ms = Json::array();
    for (const auto& m : c.measurements) {
      const LimitRow& row = *m.row;
      ms.push_back(Json{{"quantity", row.quantity},
                        {"unit", row.unit},
                        {"value", maybe(m.value)},
                        {"comparison", compareSymbol(row.compare)},
                        {"limit", num(m.limit)},
                        {"criteria_key", row.key ? Json(row.key) : Json(nullptr)},
                        {"on_breach", verdictName(row.onBreach)},
                        {"met", m.value ? Json(m.met) : Json(nullptr)}});
    }
    out.push_back(Json{{"id", c.row->name},
                       {"title", c.row->title},
                       {"set", c.set > 0 ? Json(c.set) : Json(nullptr)},
                       {"verdict", verdictName(c.verdict)},
                       {"measurements", ms}});
  }
  return out;
}

}  // namespace

std::string assessmentJson(const ReportHeader& header, const RunRecord& record, const Assessment& assessment) {
  Json sets = Json::array();
  for (std::size_t i = 0; i < record.sets.size(); ++i) sets.push_back(setBlock(record.sets[i], assessment.sets[i]));

  const Json doc{
      {"schema_version", kSchemaVersion},
      {"header", Json{{"program", "velm-kalix"},
                      {"program_version", header.programVersion},
                      {"analysis_time", header.analysisTime},
                      {"engine", header.engine},
                      {"workbook",
                       Json{{"name", header.workbookName},
                            {"sha256", header.workbookSha256.empty() ? Json(nullptr) : Json(header.workbookSha256)}}}}},
      {"units", unitsBlock()},
      {"basis", basisBlock()},
      {"conditions", conditionsBlock(record.conditions)},
      {"interval_note", kIntervalNote},
      {"full_truncation_curve", assessment.fullTruncationCurve},
      {"sets", sets},
      {"probe_spread", spreadBlock(assessment.spread)},
      {"program_averages", averagesBlock(record.averages)},
      {"checks", checksBlock(assessment.checks)},
      {"verdict", verdictName(assessment.worst())}};
  // A workbook name that is not UTF-8 is written with replacement characters.
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

void writeJson(std::ostream& out, const ReportHeader& header, const RunRecord& record, const Assessment& assessment) {
  out << assessmentJson(header, record, assessment);
}

}  // namespace vk::exporter

#include "export/CsvSummary.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "assess/Units.h"
#include "export/CsvCells.h"

namespace vk::exporter {

namespace {

using namespace vk::assess;
using units::Dimension;

std::string cell(double v) { return numberCell(v); }
std::string cell(const Maybe<double>& v) { return v ? cell(*v) : std::string(); }
std::string cell(const std::optional<double>& v) { return v ? cell(*v) : std::string(); }

// The columns, each a heading and how to get its cell from one set.
struct Row {
  const SetRecord& rec;
  const SetAssessment& a;
  const std::vector<CheckResult>& checks;
};

std::string notPassed(const Row& r) {
  std::string ids;
  for (const auto& c : r.checks)
    if (c.set == r.rec.set && c.verdict != Verdict::Pass && c.verdict != Verdict::NotApplicable)
      ids += (ids.empty() ? "" : ";") + std::string(c.row->name) + "=" + verdictName(c.verdict);
  return ids;
}

std::string standardCell(const Row& r, const StandardEstimate StandardUncertainty::*figure, bool high,
                         double scale = 1) {
  if (!r.a.standard) return "";
  const StandardEstimate& e = (*r.a.standard).*figure;
  return cell((high ? e.ci95.high : e.ci95.low) * scale);
}

std::string soteCell(const Row& r, bool high) {
  if (!r.a.standard || !r.a.standard->sote) return "";
  return cell(high ? r.a.standard->sote->ci95.high : r.a.standard->sote->ci95.low);
}

struct Column {
  const char* heading;
  std::string (*value)(const Row&);
};

const double kKgPerLb = units::toSi(Dimension::MassRate, 1.0);

const Column kColumns[] = {
    {"set", [](const Row& r) { return std::to_string(r.rec.set); }},
    {"start_threshold_percent", [](const Row& r) { return cell(r.rec.startPercent); }},
    {"kept_readings", [](const Row& r) { return std::to_string(r.rec.kept.size()); }},
    {"fit_converged", [](const Row& r) { return std::string(r.rec.fit.solver.converged ? "yes" : "no"); }},
    {"fit_passes", [](const Row& r) { return std::to_string(r.rec.fit.solver.passes); }},
    {"c0_mg_per_l", [](const Row& r) { return cell(r.rec.fit.c0); }},
    {"cinf_mg_per_l", [](const Row& r) { return cell(r.rec.fit.cinf); }},
    {"kla_per_min", [](const Row& r) { return cell(r.rec.fit.kla); }},
    {"std_err_mg_per_l", [](const Row& r) { return cell(r.rec.fit.stdErr); }},
    {"kla20_per_h", [](const Row& r) { return cell(r.rec.figures.kla20); }},
    {"kla20_ci95_low", [](const Row& r) { return standardCell(r, &StandardUncertainty::kla20, false); }},
    {"kla20_ci95_high", [](const Row& r) { return standardCell(r, &StandardUncertainty::kla20, true); }},
    {"cinf20_mg_per_l", [](const Row& r) { return cell(r.rec.figures.cinf20); }},
    {"cinf20_ci95_low", [](const Row& r) { return standardCell(r, &StandardUncertainty::cinf20, false); }},
    {"cinf20_ci95_high", [](const Row& r) { return standardCell(r, &StandardUncertainty::cinf20, true); }},
    {"sotr_lb_o2_per_h", [](const Row& r) { return cell(r.rec.figures.sotr); }},
    {"sotr_kg_o2_per_h", [](const Row& r) { return cell(r.rec.figures.sotr * kKgPerLb); }},
    {"sotr_ci95_low_lb_o2_per_h", [](const Row& r) { return standardCell(r, &StandardUncertainty::sotr, false); }},
    {"sotr_ci95_high_lb_o2_per_h", [](const Row& r) { return standardCell(r, &StandardUncertainty::sotr, true); }},
    {"sotr_ci95_low_kg_o2_per_h",
     [](const Row& r) { return standardCell(r, &StandardUncertainty::sotr, false, kKgPerLb); }},
    {"sotr_ci95_high_kg_o2_per_h",
     [](const Row& r) { return standardCell(r, &StandardUncertainty::sotr, true, kKgPerLb); }},
    {"sote_percent", [](const Row& r) { return cell(r.rec.figures.sote); }},
    {"sote_ci95_low", [](const Row& r) { return soteCell(r, false); }},
    {"sote_ci95_high", [](const Row& r) { return soteCell(r, true); }},
    {"saturation_depth_ft", [](const Row& r) { return cell(r.rec.figures.satDepthFt); }},
    {"saturation_depth_m", [](const Row& r) { return cell(units::toSi(Dimension::Length, r.rec.figures.satDepthFt)); }},
    {"optimum_kla_per_min", [](const Row& r) { return cell(r.a.optimum.params.kla); }},
    {"optimum_cinf_mg_per_l", [](const Row& r) { return cell(r.a.optimum.params.cinf); }},
    {"kla_relative_difference", [](const Row& r) { return cell(r.a.comparison[kKLa].relativeDifference); }},
    {"cinf_relative_difference", [](const Row& r) { return cell(r.a.comparison[kCinf].relativeDifference); }},
    {"lag1_autocorrelation", [](const Row& r) { return cell(r.a.residuals.lag1Autocorrelation); }},
    {"durbin_watson", [](const Row& r) { return cell(r.a.residuals.durbinWatson); }},
    {"runs_z", [](const Row& r) { return cell(r.a.residuals.runsZ); }},
    {"largest_abs_residual_over_s", [](const Row& r) { return cell(r.a.residuals.largestScaled); }},
    {"truncation_kla20_change_percent", [](const Row& r) { return cell(r.a.truncation.kla20ChangePercent); }},
    {"checks_not_passed", notPassed},
};

}  // namespace

void writeCsv(std::ostream& out, const RunRecord& record, const Assessment& assessment) {
  std::string line;
  for (const auto& c : kColumns) line += (line.empty() ? "" : ",") + std::string(c.heading);
  out << line << '\n';
  for (std::size_t i = 0; i < record.sets.size(); ++i) {
    const Row row{record.sets[i], assessment.sets[i], assessment.checks};
    line.clear();
    for (std::size_t k = 0; k < std::size(kColumns); ++k) line += (k ? "," : "") + kColumns[k].value(row);
    out << line << '\n';
  }
}

}  // namespace vk::exporter

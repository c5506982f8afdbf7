// The first page of a campaign report: who analysed what and when, and one
// row per workbook in US units and again in SI, each figure with the 95 %
// interval of the mean between the test's probes.

#include <ostream>
#include <string>

#include "assess/Units.h"
#include "export/html/CampaignSections.h"
#include "export/html/Text.h"

namespace vk::exporter::html {
namespace {

using namespace vk::campaign;
using assess::Maybe;
using assess::units::Dimension;

void fact(std::ostream& out, const char* name, const std::string& html) {
  out << "<tr><th>" << name << "</th><td>" << html << "</td></tr>\n";
}

std::string counts(const std::vector<CampaignRow>& rows) {
  std::size_t analysed = 0, verdicts[4] = {};
  for (const CampaignRow& r : rows)
    if (r.analysed()) ++analysed, ++verdicts[static_cast<std::size_t>(r.worst)];
  std::string text = std::to_string(analysed) + " analysed, " + std::to_string(rows.size() - analysed) + " faulted";
  if (analysed == 0) return text;
  std::string worst;
  for (assess::Verdict v : {assess::Verdict::Pass, assess::Verdict::Warn, assess::Verdict::Fail})
    if (verdicts[static_cast<std::size_t>(v)])
      worst += (worst.empty() ? "" : ", ") + std::to_string(verdicts[static_cast<std::size_t>(v)]) + " " +
               assess::verdictName(v);
  return text + "; worst verdict of their checks: " + worst;
}

// The figure, the interval of the mean beneath it, or why there is none.
std::string cell(Notes& notes, const Maybe<RowFigure>& f, double scale = 1) {
  if (!f) return notes.notApplicable(f.reason);
  if (!f->ci95)
    return number(f->value * scale, kResultDigits) + "<span class=\"ci\">no interval" +
           notes.mark("No interval: " + f->ci95.reason + ".") + "</span>";
  return withInterval(f->value, *f->ci95, kResultDigits, scale);
}

// SSOTE's column is empty where the workbook gives no submergence.
std::string ssoteCell(Notes& notes, const CampaignRow& r, bool perMetreOfSubmergence) {
  if (!r.submergenceFt) return "";
  if (!r.ssotePerFt) return cell(notes, r.ssotePerFt);
  return cell(notes, perMetreOfSubmergence ? perMetre(*r.ssotePerFt) : *r.ssotePerFt);
}

std::string heading(const char* name, std::string_view unit) {
  return std::string("<th>") + name + (unit.empty() ? "" : " <span class=\"unit\">(" + unitText(unit) + ")</span>") +
         "</th>";
}

void faultRow(std::ostream& out, const CampaignRow& r, std::size_t columns) {
  out << "<tr><td class=\"name\">" << esc(r.name) << "</td><td colspan=\"" << std::to_string(columns - 1)
      << "\" class=\"name\"><span class=\"verdict verdict-fail\">fault</span> " << esc(r.fault) << "</td></tr>\n";
}

void writeUsTable(std::ostream& out, Notes& notes, const std::vector<CampaignRow>& rows, const CampaignCurves& curves) {
  out << "<table class=\"campaign\" data-table=\"us\">\n<tr><th class=\"name\">Workbook</th>" << heading("Water", "°C")
      << heading("Air flow", "scfm") << heading("KLa<sub>20</sub>", "1/h") << heading("C<sub>∞20</sub>", "mg/L")
      << heading("SOTR", assess::units::usUnit(Dimension::MassRate)) << heading("SOTE", "%") << heading("SSOTE", "%/ft")
      << "<th>Checks</th></tr>\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CampaignRow& r = rows[i];
    if (!r.analysed()) {
      faultRow(out, r, 9);
      continue;
    }
    out << "<tr><td class=\"name\">" << esc(r.name)
        << (curves.offCurve[i] ? notes.mark("More than 2 residual standard deviations off the SOTE curve.") : "")
        << "</td><td>" << number(r.waterTempC, kResultDigits) << "</td><td>"
        << (r.hasAirFlow() ? number(r.airFlowScfm, kResultDigits + 1) : notes.notApplicable("no air flow is given"))
        << "</td><td>" << cell(notes, r.kla20) << "</td><td>" << cell(notes, r.cinf20) << "</td><td>"
        << cell(notes, r.sotr) << "</td><td>" << cell(notes, r.sote) << "</td><td>" << ssoteCell(notes, r, false)
        << "</td><td>" << verdictBadge(r.worst) << "</td></tr>\n";
  }
  out << "</table>\n";
}

void writeSiTable(std::ostream& out, Notes& notes, const std::vector<CampaignRow>& rows) {
  namespace u = assess::units;
  out << "<h3>In SI units</h3>\n<table class=\"campaign\" data-table=\"si\">\n<tr><th class=\"name\">Workbook</th>"
      << heading("Air flow", u::siUnit(Dimension::AirFlow)) << heading("SOTR", u::siUnit(Dimension::MassRate))
      << heading("SSOTE", "%/m") << heading("Effective saturation depth", "m") << heading("Diffuser submergence", "m")
      << "</tr>\n";
  for (const CampaignRow& r : rows) {
    if (!r.analysed()) {
      faultRow(out, r, 6);
      continue;
    }
    out << "<tr><td class=\"name\">" << esc(r.name) << "</td><td>"
        << (r.hasAirFlow() ? number(u::toSi(Dimension::AirFlow, r.airFlowScfm), kResultDigits + 1)
                           : notes.notApplicable("no air flow is given"))
        << "</td><td>" << cell(notes, r.sotr, u::toSi(Dimension::MassRate, 1)) << "</td><td>"
        << ssoteCell(notes, r, true) << "</td><td>"
        << (r.satDepthFt ? number(u::toSi(Dimension::Length, *r.satDepthFt), kResultDigits)
                         : notes.notApplicable(r.satDepthFt.reason))
        << "</td><td>" << (r.submergenceFt ? number(u::toSi(Dimension::Length, *r.submergenceFt), kResultDigits) : "")
        << "</td></tr>\n";
  }
  out << "</table>\n";
}

}  // namespace

void writeCampaignSummaryPage(std::ostream& out, const CampaignHeader& header, const std::vector<CampaignRow>& rows,
                              const CampaignCurves& curves) {
  out << "<section class=\"page flowing\" data-page=\"campaign-summary\">\n<div data-section=\"campaign-header\">\n"
         "<h1>Test campaign: "
      << rows.size() << (rows.size() == 1 ? " workbook" : " workbooks") << "</h1>\n<table class=\"facts\">\n";
  fact(out, "Program", "velm-kalix " + esc(header.programVersion));
  fact(out, "Engine", esc(header.engine));
  fact(out, "Analysed", esc(header.analysisTime));
  fact(out, "Workbooks", esc(counts(rows)));
  out << "</table>\n</div>\n<div data-section=\"campaign-summary\">\n<h2>Summary</h2>\n";
  Notes notes;
  writeUsTable(out, notes, rows, curves);
  writeSiTable(out, notes, rows);
  notes.write(out);
  out << "<p class=\"note\">Each figure is the program's average over the test's probes; beneath it, the 95 % "
         "interval of the mean between the probes. SSOTE is the SOTE per unit of the diffuser's submergence, which "
         "a workbook gives in the cell its defined name \"DiffuserSubmergence\" marks (in feet); the column is "
         "empty where a workbook gives none. Every test follows in full after the performance curves.</p>\n"
         "</div>\n</section>\n";
}

}  // namespace vk::exporter::html

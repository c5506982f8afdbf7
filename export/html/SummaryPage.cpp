// The first page: who analysed what and when, the test conditions, the
// results per probe with their intervals, and the spread between probes.

#include <optional>
#include <ostream>
#include <string>

#include "assess/Units.h"
#include "export/html/Sections.h"
#include "export/html/Text.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

using namespace vk::assess;
using units::Dimension;

const double kKgPerLb = units::toSi(Dimension::MassRate, 1.0);

std::string noInterval(Notes& notes, const std::string& value, const std::string& reason) {
  return value + "<span class=\"ci\">no interval" + notes.mark("No interval: " + reason + ".") + "</span>";
}

void fact(std::ostream& out, const char* name, const std::string& html, const char* cls = "") {
  out << "<tr><th>" << name << "</th><td class=\"" << cls << "\">" << html << "</td></tr>\n";
}

std::string verdictCounts(const std::vector<CheckResult>& checks) {
  std::size_t count[4] = {};
  for (const auto& c : checks) ++count[static_cast<std::size_t>(c.verdict)];
  std::string text;
  for (Verdict v : {Verdict::Pass, Verdict::Warn, Verdict::Fail, Verdict::NotApplicable})
    text += (text.empty() ? "" : ", ") + std::to_string(count[static_cast<std::size_t>(v)]) + " " + verdictName(v);
  return text;
}

void writeHeader(std::ostream& out, const ReportHeader& h, const Assessment& a) {
  out << "<div data-section=\"header\">\n<h1>Clean-water oxygen-transfer test: <span class=\"wrap\">"
      << esc(h.workbookName) << "</span></h1>\n<table class=\"facts\">\n";
  fact(out, "Workbook", esc(h.workbookName), "wrap");
  fact(out, "SHA-256", h.workbookSha256.empty() ? notApplicable("not known") : esc(h.workbookSha256), "sha");
  fact(out, "Program", "velm-kalix " + esc(h.programVersion));
  fact(out, "Engine", esc(h.engine));
  fact(out, "Analysed", esc(h.analysisTime));
  fact(out, "Checklist", verdictBadge(a.worst()) + " " + verdictCounts(a.checks));
  out << "</table>\n</div>\n";
}

// A condition in the program's US unit and in SI.
void usSiRow(std::ostream& out, const char* name, double us, Dimension d) {
  out << "<tr><td class=\"name\">" << name << "</td><td>" << number(us, kResultDigits + 1) << " "
      << unitText(units::usUnit(d)) << "</td><td>" << number(units::toSi(d, us), kResultDigits + 1) << " "
      << unitText(units::siUnit(d)) << "</td></tr>\n";
}

void spanRow(std::ostream& out, const char* name, const std::string& html) {
  out << "<tr><td class=\"name\">" << name << "</td><td colspan=\"2\">" << html << "</td></tr>\n";
}

std::string readingsPerProbe(const RunRecord& record) {
  std::string text;
  bool same = true;
  for (const auto& s : record.sets) same = same && s.raw.size() == record.sets.front().raw.size();
  for (const auto& s : record.sets) {
    text += (text.empty() ? "" : ", ") + plot::grouped(s.raw.size());
    if (same) break;
  }
  return text;
}

void writeConditions(std::ostream& out, const RunRecord& record) {
  const Conditions& c = record.conditions;
  out << "<div data-section=\"conditions\">\n<h2>Test conditions</h2>\n<table class=\"conditions\">\n"
         "<tr><th class=\"name\">Condition</th><th>US units</th><th>SI units</th></tr>\n";
  spanRow(out, "Water temperature", number(c.waterTempC, kResultDigits + 1) + " °C");
  usSiRow(out, "Barometric pressure", c.baroPressInHg, Dimension::Pressure);
  usSiRow(out, "Tank volume", c.tankVolumeFt3, Dimension::Volume);
  if (c.airFlowScfm != 0)
    usSiRow(out, "Air flow (standard air)", c.airFlowScfm, Dimension::AirFlow);
  else
    spanRow(out, "Air flow (standard air)", notApplicable("no air flow is given"));
  spanRow(out, "Probes (data sets)", std::to_string(record.sets.size()));
  spanRow(out, "Readings per probe", readingsPerProbe(record));
  out << "</table>\n</div>\n";
}

// A probe's figure with the 95 % interval of its own fit beneath.
std::string probeFigure(Notes& notes, double value, const Maybe<StandardUncertainty>& su,
                        const StandardEstimate StandardUncertainty::*which, double scale = 1) {
  if (!su) return noInterval(notes, number(value * scale, kResultDigits), su.reason);
  return withInterval(value, ((*su).*which).ci95, kResultDigits, scale);
}

// The program's average with the 95 % interval of the mean between probes.
std::string averageFigure(Notes& notes, const std::optional<double>& average, const Maybe<SpreadStats>& spread,
                          double scale = 1) {
  if (!average) return notes.notApplicable("the program wrote no average");
  if (!spread) return noInterval(notes, number(*average * scale, kResultDigits), spread.reason);
  return withInterval(*average, spread->meanCi95, kResultDigits, scale);
}

struct Columns {
  const RunRecord& record;
  const Assessment& assessment;
};

// The average is a callable too, so that the notes of a row are numbered
// from left to right.
template <class Cell, class Average>
void resultRow(std::ostream& out, const Columns& cols, const std::string& label, std::string_view unit, Cell cell,
               Average average) {
  out << "<tr><td class=\"name\">" << label;
  if (!unit.empty()) out << " <span class=\"unit\">(" << unitText(unit) << ")</span>";
  out << "</td>";
  for (std::size_t i = 0; i < cols.record.sets.size(); ++i)
    out << "<td>" << cell(cols.record.sets[i], cols.assessment.sets[i]) << "</td>";
  out << "<td>" << average() << "</td></tr>\n";
}

void writeResults(std::ostream& out, const RunRecord& record, const Assessment& a) {
  const Columns cols{record, a};
  Notes notes;
  const ProgramAverages& avg = record.averages;
  const ProbeSpread& spread = a.spread;
  const auto none = [] { return std::string(); };
  out << "<div data-section=\"results\">\n<h2>Results</h2>\n<table class=\"results\">\n<tr><th "
         "class=\"name\">Figure</th>";
  for (const auto& s : record.sets) out << "<th>Probe " << std::to_string(s.set) << "</th>";
  out << "<th>Average</th></tr>\n";

  resultRow(
      out, cols, "Kept readings", "",
      [](const SetRecord& s, const SetAssessment&) {
        return std::to_string(s.kept.size()) + " of " + plot::grouped(s.raw.size());
      },
      none);
  resultRow(
      out, cols, "Start threshold", "%",
      [](const SetRecord& s, const SetAssessment&) { return number(s.startPercent, kResultDigits); }, none);
  resultRow(
      out, cols, "C<sub>0</sub>", "mg/L",
      [](const SetRecord& s, const SetAssessment&) { return number(s.fit.c0, kResultDigits); }, none);
  resultRow(
      out, cols, "C<sub>∞</sub>", "mg/L",
      [](const SetRecord& s, const SetAssessment&) { return number(s.fit.cinf, kResultDigits); }, none);
  resultRow(
      out, cols, "KLa", "1/min",
      [](const SetRecord& s, const SetAssessment&) { return number(s.fit.kla, kResultDigits); }, none);
  resultRow(
      out, cols, "Standard error of the fit", "mg/L",
      [&notes](const SetRecord& s, const SetAssessment&) {
        return s.fit.stdErr ? number(*s.fit.stdErr, kResultDigits - 1)
                            : notes.notApplicable("the program's fit did not converge");
      },
      [&] {
        return avg.stdErr ? number(*avg.stdErr, kResultDigits - 1)
                          : notes.notApplicable("the program wrote no average");
      });
  resultRow(
      out, cols, "KLa<sub>20</sub>", "1/h",
      [&notes](const SetRecord& s, const SetAssessment& sa) {
        return probeFigure(notes, s.figures.kla20, sa.standard, &StandardUncertainty::kla20);
      },
      [&] { return averageFigure(notes, avg.kla20, spread.kla20); });
  resultRow(
      out, cols, "C<sub>∞20</sub>", "mg/L",
      [&notes](const SetRecord& s, const SetAssessment& sa) {
        return probeFigure(notes, s.figures.cinf20, sa.standard, &StandardUncertainty::cinf20);
      },
      [&] { return averageFigure(notes, avg.cinf20, spread.cinf20); });
  for (const bool si : {false, true}) {
    const double scale = si ? kKgPerLb : 1;
    resultRow(
        out, cols, "SOTR", si ? units::siUnit(Dimension::MassRate) : units::usUnit(Dimension::MassRate),
        [&notes, scale](const SetRecord& s, const SetAssessment& sa) {
          return probeFigure(notes, s.figures.sotr, sa.standard, &StandardUncertainty::sotr, scale);
        },
        [&] { return averageFigure(notes, avg.sotr, spread.sotr, scale); });
  }
  if (record.conditions.airFlowScfm != 0) {
    resultRow(
        out, cols, "SOTE", "%",
        [&notes](const SetRecord& s, const SetAssessment& sa) -> std::string {
          if (!s.figures.sote) return notes.notApplicable("no air flow is given");
          if (!sa.standard) return noInterval(notes, number(*s.figures.sote, kResultDigits), sa.standard.reason);
          if (!sa.standard->sote)
            return noInterval(notes, number(*s.figures.sote, kResultDigits), "no air flow is given");
          return withInterval(*s.figures.sote, sa.standard->sote->ci95, kResultDigits);
        },
        [&] { return averageFigure(notes, avg.sote, spread.sote); });
  } else {
    out << "<tr><td class=\"name\">SOTE <span class=\"unit\">(%)</span></td><td colspan=\""
        << std::to_string(record.sets.size() + 1) << "\">" << notApplicable("no air flow is given") << "</td></tr>\n";
  }
  for (const bool si : {false, true}) {
    const double scale = si ? units::toSi(Dimension::Length, 1.0) : 1;
    resultRow(
        out, cols, "Effective saturation depth",
        si ? units::siUnit(Dimension::Length) : units::usUnit(Dimension::Length),
        [scale](const SetRecord& s, const SetAssessment&) {
          return number(s.figures.satDepthFt * scale, kResultDigits);
        },
        [&] {
          return avg.satDepthFt ? number(*avg.satDepthFt * scale, kResultDigits)
                                : notes.notApplicable("the program wrote no average");
        });
  }
  resultRow(
      out, cols, "Checks (worst verdict)", "",
      [&a](const SetRecord& s, const SetAssessment&) { return verdictBadge(worstVerdict(a.checks, s.set)); }, none);
  out << "</table>\n";
  notes.write(out);
  out << "<p class=\"note\">Beneath each probe's figure: its 95 % interval from the probe's own fit "
         "(delta method). Average: the program's average, beneath it the 95 % interval of the mean between the "
         "probes. The intervals are discussed under Basis and assumptions.</p>\n</div>\n";
}

void spreadRow(std::ostream& out, const std::string& label, std::string_view unit, const Maybe<SpreadStats>& s,
               double scale = 1) {
  out << "<tr><td class=\"name\">" << label << " <span class=\"unit\">(" << unitText(unit) << ")</span></td>";
  if (!s) {
    out << "<td colspan=\"4\">" << notApplicable(s.reason) << "</td></tr>\n";
    return;
  }
  out << "<td>" << number(s->mean * scale, kResultDigits) << "</td><td>" << number(s->sd * scale, kResultDigits - 1)
      << "</td><td>" << number(s->cvPercent, kResultDigits - 1) << "</td><td>"
      << interval(s->meanCi95, kResultDigits, scale) << "</td></tr>\n";
}

void writeSpread(std::ostream& out, const ProbeSpread& s) {
  out << "<div data-section=\"spread\">\n<h3>Between the probes</h3>\n<table class=\"spread\">\n"
         "<tr><th class=\"name\">Figure</th><th>Mean</th><th>Standard deviation</th><th>CV (%)</th>"
         "<th>95 % interval of the mean</th></tr>\n";
  spreadRow(out, "KLa<sub>20</sub>", "1/h", s.kla20);
  spreadRow(out, "C<sub>∞20</sub>", "mg/L", s.cinf20);
  spreadRow(out, "SOTR", units::usUnit(Dimension::MassRate), s.sotr);
  spreadRow(out, "SOTR", units::siUnit(Dimension::MassRate), s.sotr, kKgPerLb);
  spreadRow(out, "SOTE", "%", s.sote);
  out << "</table>\n</div>\n";
}

}  // namespace

void writeSummaryPage(std::ostream& out, const ReportHeader& header, const RunRecord& record,
                      const Assessment& assessment) {
  out << "<section class=\"page\" data-page=\"summary\">\n";
  writeHeader(out, header, assessment);
  writeConditions(out, record);
  writeResults(out, record, assessment);
  writeSpread(out, assessment.spread);
  out << "</section>\n";
}

}  // namespace vk::exporter::html

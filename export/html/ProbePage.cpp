// One page per probe: its readings and fitted curve, its residuals, the
// parameters with their uncertainty beside the double-precision optimum,
// and the passes of the program's fit.

#include <ostream>
#include <string>

#include "export/html/Figures.h"
#include "export/html/Sections.h"
#include "export/html/Text.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

using namespace vk::assess;

std::string fitOutcome(const SolverSummary& s) {
  if (s.converged)
    return "The program's fit converged in pass " + std::to_string(s.passes) + " of at most " +
           std::to_string(s.passLimit) + ".";
  return "The program's fit stopped after " + std::to_string(s.passes) + " passes without converging.";
}

void writeLead(std::ostream& out, const SetRecord& rec, const std::vector<CheckResult>& checks) {
  out << "<p class=\"lead\">Start threshold " << number(rec.startPercent, kResultDigits)
      << " %: " << plot::grouped(rec.kept.size()) << " of " << plot::grouped(rec.raw.size())
      << " readings kept, the first at t = " << number(rec.timeShift, kResultDigits) << " min. "
      << fitOutcome(rec.fit.solver) << " Checks: " << verdictBadge(worstVerdict(checks, rec.set)) << ".</p>\n";
}

constexpr const char* kParameterNames[kParameters] = {"C<sub>0</sub>", "C<sub>∞</sub>", "KLa"};
constexpr const char* kParameterUnits[kParameters] = {"mg/L", "mg/L", "1/min"};

// Its reason, the same for the three parameters, is said once under the table.
std::string relativeDifference(const Maybe<double>& d) {
  if (d) return number(*d, 2);
  return "<span class=\"na\" title=\"" + esc(d.reason) + "\">not compared</span>";
}

void writeParameters(std::ostream& out, const SetAssessment& a) {
  const Maybe<ParameterUncertainty>& u = a.parameters;
  out << "<h3>Parameters</h3>\n<table class=\"parameters\">\n<tr><th class=\"name\">Parameter</th>"
         "<th>Program (32-bit)</th><th>Optimum (double)</th><th>Relative difference</th><th>Standard error</th>"
         "<th>95 % interval</th></tr>\n";
  for (int p = 0; p < kParameters; ++p) {
    const auto k = static_cast<std::size_t>(p);
    const ParameterComparison& c = a.comparison[k];
    out << "<tr><td class=\"name\">" << kParameterNames[p] << " <span class=\"unit\">(" << kParameterUnits[p]
        << ")</span></td><td>" << number(c.program, kParameterDigits + 1) << "</td><td>"
        << number(c.optimum, kParameterDigits + 1) << "</td><td>" << relativeDifference(c.relativeDifference)
        << "</td>";
    if (u)
      out << "<td>" << number(u->se[k], 3) << "</td><td>" << interval(u->ci95[k], kParameterDigits) << "</td>";
    else if (p == 0)
      out << "<td colspan=\"2\" rowspan=\"3\">" << notApplicable(u.reason) << "</td>";
    out << "</tr>\n";
  }
  out << "</table>\n<p class=\"note\">";
  if (u)
    out << "At the optimum: s = " << number(u->s, 3) << " mg/L with " << std::to_string(u->dof)
        << " degrees of freedom; t(0.975) = " << number(u->t975, 4) << ". ";
  out << "The optimum: Levenberg–Marquardt from the program's result, " << std::to_string(a.optimum.iterations)
      << " iterations, " << esc(a.optimum.stop) << ".";
  if (!a.comparison[kKLa].relativeDifference)
    out << " Not compared: " << esc(a.comparison[kKLa].relativeDifference.reason) << ".";
  out << "</p>\n";
}

void historyRow(std::ostream& out, const std::string& name, double cinf, double c0, double kla, double sumSq,
                const char* cls = "") {
  out << "<tr class=\"" << cls << "\"><td class=\"name\">" << name << "</td><td>" << number(cinf, kParameterDigits + 1)
      << "</td><td>" << number(c0, kParameterDigits + 1) << "</td><td>" << number(kla, kParameterDigits + 1)
      << "</td><td>" << number(sumSq, kParameterDigits) << "</td></tr>\n";
}

void writeHistory(std::ostream& out, const SetRecord& rec, const SetAssessment& a) {
  out << "<h3>Fit history</h3>\n<table class=\"history\">\n<tr><th class=\"name\">Pass</th><th>C<sub>∞</sub></th>"
         "<th>C<sub>0</sub></th><th>KLa</th><th>Sum of squares</th></tr>\n";
  if (rec.fit.history.empty())
    out << "<tr><td class=\"name\" colspan=\"5\">" << notApplicable("the Run did not record its passes")
        << "</td></tr>\n";
  for (const FitPass& p : rec.fit.history) historyRow(out, std::to_string(p.pass), p.cinf, p.c0, p.kla, p.sumSq);
  historyRow(out, "Result", rec.fit.cinf, rec.fit.c0, rec.fit.kla, rec.fit.solver.finalSumSq, "result");
  const CurveParams& o = a.optimum.params;
  historyRow(out, "Optimum", o.cinf, o.c0, o.kla, a.optimum.ssr, "optimum");
  out << "</table>\n<p class=\"note\">Each pass starts from the estimates in its row (mg/L, 1/min). Result: the "
         "program's result of record; Optimum: the double-precision check.</p>\n";
}

void writeCorrelations(std::ostream& out, const Maybe<ParameterUncertainty>& u) {
  out << "<h3>Correlations</h3>\n<table class=\"correlations\">\n";
  if (!u) {
    out << "<tr><td class=\"name\">" << notApplicable(u.reason) << "</td></tr>\n</table>\n";
    return;
  }
  const std::pair<int, int> pairs[] = {{kC0, kCinf}, {kC0, kKLa}, {kCinf, kKLa}};
  for (auto [p, q] : pairs)
    out << "<tr><td class=\"name\">" << kParameterNames[p] << " and " << kParameterNames[q] << "</td><td>"
        << number(u->correlation(p, q), 3) << "</td></tr>\n";
  out << "</table>\n";
}

void diagnosticRow(std::ostream& out, const char* name, const std::string& html) {
  out << "<tr><td class=\"name\">" << name << "</td><td>" << html << "</td></tr>\n";
}

void writeDiagnostics(std::ostream& out, const ResidualDiagnostics& r) {
  out << "<h3>Residuals at the optimum</h3>\n<table class=\"diagnostics\">\n";
  diagnosticRow(out, "Lag-1 autocorrelation", number(r.lag1Autocorrelation, 3));
  diagnosticRow(out, "Durbin–Watson", number(r.durbinWatson, 3));
  diagnosticRow(out, "Runs of signs",
                std::to_string(r.runs) + " (" + std::to_string(r.positive) + " +, " + std::to_string(r.negative) +
                    " −), z = " + number(r.runsZ, 3));
  diagnosticRow(out, "Largest |residual| / s", number(r.largestScaled, 3));
  out << "</table>\n";
}

}  // namespace

void writeProbePage(std::ostream& out, const SetRecord& rec, const SetAssessment& a,
                    const std::vector<CheckResult>& checks) {
  const std::string set = std::to_string(rec.set);
  out << "<section class=\"page\" data-page=\"probe\">\n<div data-section=\"probe\" data-set=\"" << set
      << "\">\n<h2>Probe " << set << "</h2>\n";
  writeLead(out, rec, checks);
  writeFigure(out, doFigure(rec), "do", "readings");
  writeFigure(out, residualFigure(rec), "residuals", "residuals");
  writeParameters(out, a);
  out << "<div class=\"columns\">\n<div class=\"wide\">\n";
  writeHistory(out, rec, a);
  out << "</div>\n<div>\n";
  writeCorrelations(out, a.parameters);
  writeDiagnostics(out, a.residuals);
  out << "</div>\n</div>\n</div>\n</section>\n";
}

}  // namespace vk::exporter::html

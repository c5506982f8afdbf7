#include "apps/batch/CampaignText.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "assess/CheckTable.h"
#include "assess/Units.h"
#include "plot/Numbers.h"

namespace vk {

namespace {

using namespace vk::campaign;

std::string fixed(double v, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, v);
  return text;
}

std::string figure(const assess::Maybe<RowFigure>& f, int decimals) { return f ? fixed(f->value, decimals) : "-"; }

std::string padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string curveLine(const char* name, const char* unit, const PerformanceCurve& curve) {
  if (!curve.fit) return std::string(name) + " curve: none (" + curve.fit.reason + ")";
  const PowerLawFit& f = *curve.fit;
  return std::string(name) + " = " + plot::significant(f.a, 5) + " Q^" + plot::significant(f.b, 5) + " (Q in scfm, " +
         name + " in " + unit + "): SE of b " + plot::significant(f.seB, 3) + ", R² " +
         (f.rSquared ? plot::significant(*f.rSquared, 5) : std::string("-")) + ", " + std::to_string(f.points) +
         " workbooks";
}

}  // namespace

void printCampaignSummary(const std::vector<CampaignRow>& rows, const CampaignCurves& curves, std::ostream& out) {
  std::size_t width = std::string("Workbook").size();
  for (const CampaignRow& r : rows) width = std::max(width, r.name.size());
  char line[256];
  const auto columns = [&](const std::string& name, const char* t, const char* q, const char* kla, const char* cinf,
                           const char* sotr, const char* sote, const char* ssote, const char* checks) {
    std::snprintf(line, sizeof line, " %6s %8s %9s %9s %9s %7s %9s  %s\n", t, q, kla, cinf, sotr, sote, ssote, checks);
    out << padded(name, width) << line;
  };
  out << "Campaign of " << rows.size() << " workbooks\n";
  columns("Workbook", "Water", "Air flow", "KLa20", "Cinf20", "SOTR", "SOTE", "SSOTE", "Checks");
  columns("", "C", "scfm", "1/h", "mg/L", "lb O2/h", "%", "%/ft", "");
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CampaignRow& r = rows[i];
    if (!r.analysed()) {
      out << padded(r.name, width) << " fault: " << r.fault << "\n";
      continue;
    }
    const std::string checks =
        std::string(assess::verdictName(r.worst)) + (curves.offCurve[i] ? ", off the curve" : "");
    columns(r.name, fixed(r.waterTempC, 1).c_str(), r.hasAirFlow() ? fixed(r.airFlowScfm, 1).c_str() : "-",
            figure(r.kla20, 4).c_str(), figure(r.cinf20, 4).c_str(), figure(r.sotr, 3).c_str(),
            figure(r.sote, 3).c_str(), r.ssotePerFt ? fixed(r.ssotePerFt->value, 4).c_str() : "", checks.c_str());
  }
  for (const std::string& w : curves.warnings) out << w << "\n";
  out << curveLine("SOTE", "%", curves.sote) << "\n"
      << curveLine("SOTR", assess::units::usUnit(assess::units::Dimension::MassRate), curves.sotr) << "\n";
}

}  // namespace vk

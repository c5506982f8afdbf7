// The last page of a test: KLa20 and C-infinity20 against the start
// threshold, one figure each since a figure has one y axis.

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "export/html/Figures.h"
#include "export/html/Sections.h"
#include "export/html/Text.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

using namespace vk::assess;

// "Probe 2 at 28 and 30 %: the trimming failed: ...", one line per probe and
// reason, so that the page stays short however many thresholds fail.
void writeUnfitted(std::ostream& out, const Assessment& a) {
  std::vector<std::string> lines;
  for (const SetAssessment& s : a.sets) {
    std::map<std::string, std::vector<double>> byReason;
    std::vector<std::string> order;
    for (const TruncationPoint& p : s.truncation.points) {
      if (p.fit) continue;
      if (!byReason.count(p.fit.reason)) order.push_back(p.fit.reason);
      byReason[p.fit.reason].push_back(p.thresholdPercent);
    }
    for (const std::string& reason : order) {
      const std::vector<double>& at = byReason[reason];
      std::string list;
      for (std::size_t i = 0; i < at.size(); ++i)
        list += (i == 0 ? "" : i + 1 == at.size() ? " and " : ", ") + plot::significant(at[i], 3);
      lines.push_back("Probe " + std::to_string(s.set) + " at " + list + " %: " + reason);
    }
  }
  if (lines.empty()) return;
  out << "<p class=\"note\">Not fitted, so not drawn:</p>\n<ul class=\"note\">\n";
  for (const auto& l : lines) out << "<li>" << esc(l) << "</li>\n";
  out << "</ul>\n";
}

}  // namespace

void writeTruncationPage(std::ostream& out, const RunRecord& record, const Assessment& assessment) {
  out << "<section class=\"page\" data-page=\"truncation\">\n<div data-section=\"truncation\">\n"
         "<h2>Truncation sensitivity</h2>\n<p class=\"lead\">Each probe's readings as read, trimmed with the "
         "program's own trimming at a start threshold (a percentage of the last reading) and fitted in double "
         "precision. Results that stay level do not depend on where the start of the curve is cut; the checklist "
         "compares "
      << plot::significant(0, 3) << " % with " << plot::significant(kTruncationComparedPercent, 3) << " %.";
  if (!assessment.fullTruncationCurve) out << " Only those two thresholds were fitted for this report.";
  out << "</p>\n";
  writeFigure(out, sensitivityFigure(record, assessment, Standardised::KLa20), "kla20", "points");
  writeFigure(out, sensitivityFigure(record, assessment, Standardised::Cinf20), "cinf20", "points");
  writeUnfitted(out, assessment);
  out << "</div>\n</section>\n";
}

}  // namespace vk::exporter::html

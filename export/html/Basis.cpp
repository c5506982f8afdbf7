// The basis and assumptions: how the results are standardised and what the
// intervals do and do not say.

#include <ostream>
#include <string>

#include "assess/Assessment.h"
#include "assess/StandardBasis.h"
#include "assess/Truncation.h"
#include "assess/Units.h"
#include "export/html/Sections.h"
#include "export/html/Text.h"
#include "plot/Numbers.h"

namespace vk::exporter::html {
namespace {

void item(std::ostream& out, const char* lead, const std::string& html) {
  out << "<li><b>" << lead << "</b> " << html << "</li>\n";
}

std::string factor(double v) { return plot::significant(v, 10); }

}  // namespace

void writeBasis(std::ostream& out) {
  namespace u = assess::units;
  out << "<div class=\"basis\" data-section=\"basis\">\n<h2>Basis and assumptions</h2>\n<ul>\n";
  item(out, "Standardisation.", esc(assess::basis::kStatement));
  item(out, "Units.",
       "Every figure is given in the program's US units with SI beside it: 1 lb = " + factor(u::kKilogramsPerPound) +
           " kg; 1 ft = " + factor(u::kMetresPerFoot) + " m; 1 inHg = " + factor(u::kKilopascalsPerInHg) +
           " kPa; 1 scfm = " + factor(u::kCubicMetresPerHourPerScfm) + " m³/h of standard air.");
  item(out, "Result of record.",
       "The program's fit, Gauss–Newton in 32-bit arithmetic, gives the results. The double-precision optimum, "
       "Levenberg–Marquardt started from the program's result, is a check beside it.");
  item(out, "Intervals of a probe.",
       "Standard errors from s²(JᵀJ)⁻¹ at the optimum, s² = SSR / (n − 3); 95 % intervals with Student's t for "
       "n − 3 degrees of freedom. KLa<sub>20</sub>, C<sub>∞20</sub>, SOTR and SOTE carry the covariance of the "
       "parameters through the same standardisation by the first-order (delta) method, the conditions taken as "
       "exact. " +
           esc(assess::kIntervalNote));
  item(out, "Between the probes.",
       "Mean, standard deviation and coefficient of variation of the program's figures, and the 95 % interval of "
       "the mean with Student's t for probes − 1 degrees of freedom.");
  item(out, "Truncation sensitivity.",
       "Fits in double precision of each probe's readings trimmed at start thresholds of 0 to 30 %; a threshold "
       "whose trimming or fit fails is not applicable and not drawn.");
  item(out, "Plots.",
       "A probe with more than 2,000 readings is drawn thinned evenly, its first and last kept, and the note under "
       "the plot says so; every statistic uses every reading. Points show their values on hover.");
  out << "</ul>\n</div>\n";
}

}  // namespace vk::exporter::html

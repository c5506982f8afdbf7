#pragma once
// The Run command ("Run!!" on the run screen): trims, estimates, fits and
// standardises every data set, writes all results into sheet 3, the
// averages, shows sheet 3 and runs the workbook's macro "Redraw".

#include <vector>

#include "commands/Feedback.h"
#include "module1/Module1.h"
#include "report/ResultWriting.h"
#include "report/Standardise.h"

namespace vk {

struct SetResult {
  int set = 0;
  bool converged = false;
  StandardFigures figures;
  Variant StdErr;
};

struct RunSummary {
  std::vector<SetResult> sets;
  Averages averages;  // as written (Empty where nothing is written)
  std::vector<int> notConverged;
};

// Saves the workbook at its end, also after a fault, and rethrows the fault.
// Ends with screen.warning(...) naming the sets whose fit did not converge.
RunSummary RunAnalysis(Module1& m, Feedback& screen);

}  // namespace vk

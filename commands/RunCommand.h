#pragma once
// The Run command ("Run!!" on the run screen): trims, estimates, fits and
// standardises every data set, writes all results into sheet 3, the
// averages, shows sheet 3 and runs the workbook's macro "Redraw".

#include <vector>

#include "commands/Feedback.h"
#include "estimate/Fit.h"
#include "module1/Module1.h"
#include "report/ResultWriting.h"
#include "report/Standardise.h"

namespace vk {

struct SetReadings {
  std::vector<float> Times, Conc;
};

// One set as the Run left it: what it wrote, and what the test report needs
// besides, so that nobody reads the workbook again for it.
struct SetResult {
  int set = 0;
  float StartPercent = 0;  // the threshold it was trimmed at
  float TimeShift = 0;     // the time, as read, of the first kept reading
  SetReadings kept;        // times from the first kept reading
  SetReadings raw;         // as read
  float C0 = 0, Cinf = 0, KLa = 0;
  FitSummary fit;
  std::vector<FitPass> history;  // one per pass, as the history rows show them
  StandardFigures figures;
  Variant StdErr;
};

struct RunSummary {
  TestConditions conditions;
  std::vector<SetResult> sets;
  Averages averages;  // as written (Empty where nothing is written)
  std::vector<int> notConverged;
};

// Saves the workbook at its end, also after a fault, and rethrows the fault.
// Ends with screen.warning(...) naming the sets whose fit did not converge.
RunSummary RunAnalysis(Module1& m, Feedback& screen);

}  // namespace vk

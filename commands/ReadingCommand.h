#pragma once
// The Reading command ("Reading " on the data-reading screen): reads the test
// conditions and every reading, runs the initial analysis over 16 start
// thresholds into sheet 2, and writes the default threshold 1 per data set.
// Input that cannot be a test (commands/InputChecks.h) is refused before it
// writes anything.

#include <vector>

#include "commands/Feedback.h"
#include "module1/Module1.h"

namespace vk {

// One row of a set's initial analysis, as written into sheet 2.
struct InitialEstimates {
  float StartPercent = 0;
  float C0 = 0, Cinf = 0, KLa = 0;
};

// What the Reading leaves beside the module, for the test report: the
// initial analysis of every set (index 0: set 1), one row per threshold.
struct ReadingSummary {
  std::vector<std::vector<InitialEstimates>> initialAnalysis;
};

// Saves the workbook at its end, also after a fault, and rethrows the fault.
ReadingSummary ReadDataSets(Module1& m, Feedback& screen);

}  // namespace vk

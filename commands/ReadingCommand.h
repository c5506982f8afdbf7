#pragma once
// The Reading command ("Reading " on the data-reading screen): reads the test
// conditions and every reading, runs the initial analysis over 16 start
// thresholds into sheet 2, and writes the default threshold 1 per data set.
// Input that cannot be a test (commands/InputChecks.h) is refused before it
// writes anything.

#include "commands/Feedback.h"
#include "module1/Module1.h"

namespace vk {

// Saves the workbook at its end, also after a fault, and rethrows the fault.
void ReadDataSets(Module1& m, Feedback& screen);

}  // namespace vk

#pragma once
// The program's start trimming as the assessment's `Trimming`: SelectFitWindow
// on a one-set copy of the readings, so that the truncation sensitivity cuts
// the curve exactly where a Run at that threshold would.

#include "assess/Readings.h"

namespace vk {

// Throws a Fault when the trimming fails at this threshold.
assess::Readings trimWithProgram(const assess::Readings& raw, double startPercent);

}  // namespace vk

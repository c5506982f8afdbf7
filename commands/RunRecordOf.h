#pragma once
// What the Reading and the Run left, as the assessment's record: the Run's
// 32-bit values as the doubles they convert to exactly. Reads nothing of
// the workbook.

#include "assess/RunRecord.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"

namespace vk {

// `reading` is the summary of the Reading the Run worked on; a set it does
// not cover has an empty initial analysis.
assess::RunRecord runRecordOf(const RunSummary& run, const ReadingSummary& reading);

}  // namespace vk

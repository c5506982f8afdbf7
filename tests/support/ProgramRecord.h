#pragma once
// The program's side of the assessment for tests and benchmarks: a test
// given as numbers is written into a workbook held in memory and analysed
// by the Reading and Run commands, and their summaries become the record the
// way the batch tool and the wizard make it (commands/RunRecordOf.h). The
// trimming for the assessment is the program's own
// (commands/ProgramTrimming.h).

#include <vector>

#include "assess/RunRecord.h"
#include "commands/ProgramTrimming.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"

namespace vk::test {

struct ProgramTest {
  assess::Conditions conditions;
  std::vector<float> times;
  std::vector<std::vector<float>> sets;  // sets[s][p]
  float startPercent = 1;                // the Run's threshold for every set (the Reading command's default)
};

// What the Reading and Run commands leave for the test.
struct ProgramRun {
  ReadingSummary reading;
  RunSummary run;
};
ProgramRun runCommands(const ProgramTest& test);

// Their record: runRecordOf(runCommands(test)).
assess::RunRecord runProgram(const ProgramTest& test);

}  // namespace vk::test

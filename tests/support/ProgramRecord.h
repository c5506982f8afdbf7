#pragma once
// The program's side of the assessment for tests and benchmarks: its start
// trimming as the assessment's Trimming, and a record of what the program's
// own trimming, estimates, fit and standardisation leave for a test given as
// numbers. Until the Run's summary carries all of this, the record is made
// here the way the Reading and Run commands compute it.

#include <vector>

#include "assess/Readings.h"
#include "assess/RunRecord.h"

namespace vk::test {

// SelectFitWindow on a one-set copy of the readings.
assess::Readings trimWithProgram(const assess::Readings& raw, double startPercent);

struct ProgramTest {
  assess::Conditions conditions;
  std::vector<float> times;
  std::vector<std::vector<float>> sets;  // sets[s][p]
  float startPercent = 1;                // the Run's threshold for every set (the Reading command's default)
};

assess::RunRecord runProgram(const ProgramTest& test);

}  // namespace vk::test

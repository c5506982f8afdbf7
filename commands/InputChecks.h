#pragma once
// Input that cannot be a clean-water test is refused before a command writes
// anything. Each fault names the cell, says what is wrong with it and what is
// accepted. Values that are possible but unusual (a cold test, a short
// record) are not faults.

#include <string>

#include "module1/Module1.h"
#include "workbook/Workbook.h"

namespace vk {

// The start threshold of a set, in percent of its last reading.
constexpr double kLowestThreshold = 0;
constexpr double kHighestThreshold = 100;
inline bool thresholdAccepted(double percent) { return percent >= kLowestThreshold && percent <= kHighestThreshold; }

// The conditions C7:C12 as ReadConditions read them into the module: C7 to
// C11 not blank (a blank C12 is no air flow), no logical values, whole counts
// that the analysis and the sheets can hold, and physical values a test can
// have.
void CheckConditions(const Module1& m, Workbook& book);

// The readings table as read into ConcRaw and TimesRaw, row by row within the
// counts: no blank cells, no logical values, no dates or times of day in the
// time column, readings from -0.5 to 100 mg/L, times that increase.
void CheckReadings(const Module1& m, Workbook& book);

// A start threshold of a data set read from row 45 of sheet 2: a number (a
// blank cell is 0 %) from 0 to 100 %.
void CheckThresholdCell(Workbook& book, int set, float percent);

}  // namespace vk

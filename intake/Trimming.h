#pragma once
// Start trimming and starting estimates of one data set. Both callers (the
// initial analysis of the Reading command and the Run command) restore the
// readings first and set StartPercent.

#include "module1/Module1.h"

namespace vk {

// Working values of the calling command, one per set.
struct TrimWork {
  SetArray<float> StartLevel{"the start levels (StartLevel)"};
  SetArray<float> PeakConc{"the peak readings (PeakConc)"};
};

// Drops the readings at or below StartPercent of the set's last reading
// (only the first crossing counts) and re-zeroes the time of the rest.
void SelectFitWindow(Module1& m, TrimWork& work, int set);
// Starting values of Cinf, KLa and C0 from the retained readings: a straight
// line through ln(Cinf - C) against time.
void StartEstimates(Module1& m, TrimWork& work, int set);

// Puts every reading of every set back as read.
void RestoreData(Module1& m);

}  // namespace vk

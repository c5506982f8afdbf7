#pragma once
// The Gauss-Newton fit of the re-aeration model
//   C(t) = Cinf - (Cinf - C0) * exp(-KLa * t)
// to the kept readings of one data set, with one history row per pass on the
// results sheet.

#include "module1/Module1.h"

namespace vk {

// Per-set values local to one Run command, created empty at every run.
struct FitLocals {
  SetArray<Integer> PassCount{"the fit passes per data set (PassCount)"};
  SetArray<Variant> ResVar{"the residual variances (ResVar)"};
  SetArray<Variant> StdErr{"the standard errors (StdErr)"};
};

constexpr int kMaxPasses = 11;

// Evaluates the starting estimates: ConcFit, Resid and SumSq of the set.
void StartFit(Module1& m, FitLocals& fit, int set);
// Runs the passes and writes their history. Returns true when the fit
// converged; false when it stopped after the last pass without converging.
bool FitDataSet(Module1& m, FitLocals& fit, int set);

}  // namespace vk

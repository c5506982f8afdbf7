#pragma once
// The Gauss-Newton fit of the re-aeration model
//   C(t) = Cinf - (Cinf - C0) * exp(-KLa * t)
// to the kept readings of one data set. It works on the module's readings and
// estimates and knows no workbook: whoever keeps the history of the passes
// listens through the callbacks.

#include <functional>

#include "module1/Module1.h"

namespace vk {

// Per-set values local to one Run command, created empty at every run.
struct FitLocals {
  SetArray<Integer> PassCount{"the fit passes per data set (PassCount)"};
  SetArray<Variant> ResVar{"the residual variances (ResVar)"};
  SetArray<Variant> StdErr{"the standard errors (StdErr)"};
};

// The stop tests (numbered as in Fit.cpp) and the program's values for them.
struct FitOptions {
  double stepTolerance = 1e-5;   // (1)
  double sumSqTolerance = 1e-6;  // (2)
  int maxPasses = kMaxPasses;    // (3)
};

// The test that ended the passes.
enum class FitStop {
  StepsSmall,   // (1) every relative step below stepTolerance: converged
  SumSqSteady,  // (2) the sum of squares changed by at most sumSqTolerance: converged
  PassLimit,    // (3) maxPasses passes made: not converged
};

struct FitSummary {
  int passes = 0;
  FitStop stop = FitStop::PassLimit;
  double initialSumSq = 0;  // of the starting estimates
  double finalSumSq = 0;    // of the final estimates
  bool converged() const { return stop != FitStop::PassLimit; }
};

// A pass as its history row shows it: the estimates it started from.
struct FitPass {
  Integer pass;
  float cinf = 0, c0 = 0, kla = 0;
  Variant sumSq;  // a Single in pass 1, a Double once a trial was adopted
};

struct FitCallbacks {
  // When a pass starts, before anything of it is computed.
  std::function<void(Integer pass)> passStarted;
  // When the pass has evaluated its trial, before the stop tests.
  std::function<void(const FitPass& pass)> passEnded;
};

// Evaluates the starting estimates: ConcFit, Resid and SumSq of the set.
void StartFit(Module1& m, FitLocals& fit, int set);
// Runs the passes from the set's current estimates and leaves the final ones
// in Cinf, C0, KLa and SumSq; on convergence it also sets ResVar and StdErr.
FitSummary FitDataSet(Module1& m, FitLocals& fit, int set, const FitOptions& options = {},
                      const FitCallbacks& callbacks = {});

}  // namespace vk

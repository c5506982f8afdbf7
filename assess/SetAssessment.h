#pragma once
// What the assessment finds for one set and across the probes.

#include <array>

#include "assess/DoubleFit.h"
#include "assess/Maybe.h"
#include "assess/Residuals.h"
#include "assess/Spread.h"
#include "assess/Standardisation.h"
#include "assess/Truncation.h"
#include "assess/Uncertainty.h"

namespace vk::assess {

struct ParameterComparison {
  double program = 0;
  double optimum = 0;
  Maybe<double> relativeDifference;  // (program - optimum) / |optimum|
};

struct SetAssessment {
  int set = 0;
  int kept = 0;
  Optimum optimum;                                          // from the program's result, on the kept readings
  std::array<ParameterComparison, kParameters> comparison;  // by Parameter
  Maybe<ParameterUncertainty> parameters;
  Maybe<StandardUncertainty> standard;  // at the optimum, by the delta method
  ResidualDiagnostics residuals;        // at the optimum
  Truncation truncation;
};

// Of the program's standardised figures, between the probes.
struct ProbeSpread {
  Maybe<SpreadStats> kla20, cinf20, sotr, sote;
};

}  // namespace vk::assess

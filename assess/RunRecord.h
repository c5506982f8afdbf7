#pragma once
// What a Run leaves, as plain numbers: the conditions, every set's readings,
// the program's fit and standardised figures, and the initial analysis. The
// Run's own 32-bit values are carried as the doubles they convert to
// exactly; nothing here refers to a workbook.

#include <optional>
#include <vector>

#include "assess/Readings.h"

namespace vk::assess {

// The test conditions as the program read them, in its US units.
struct Conditions {
  double waterTempC = 0;
  double baroPressInHg = 0;
  double tankVolumeFt3 = 0;
  double airFlowScfm = 0;  // 0: no air flow given, so no SOTE
};

// Why the program's fit stopped.
enum class StopReason {
  StepsSmall,           // every relative step below the tolerance
  SumOfSquaresSettled,  // the relative change of the sum of squares at or below its tolerance
  PassLimit,            // the last pass ended without convergence
  NotRecorded,
};

// The program's solver summary of one set.
struct SolverSummary {
  int passes = 0;
  int passLimit = 11;
  bool converged = false;
  StopReason stopReason = StopReason::NotRecorded;
  double initialSumSq = 0;  // at the starting estimates
  double finalSumSq = 0;    // at the reported estimates
};

// One pass of the program's fit: the estimates it started from and the sum
// of squares at them, as the Run's history rows give them.
struct FitPass {
  int pass = 0;  // from 1
  double cinf = 0;
  double c0 = 0;
  double kla = 0;  // per minute
  double sumSq = 0;
};

// The program's result of record for one set (KLa per minute).
struct ProgramFit {
  double c0 = 0;
  double cinf = 0;
  double kla = 0;
  std::optional<double> stdErr;  // empty when the fit did not converge
  SolverSummary solver;
  std::vector<FitPass> history;  // one per pass; empty when the Run did not record its passes
};

// The program's standardised figures of one set.
struct ProgramFigures {
  double pv = 0;   // vapour pressure at the test temperature, inHg
  double csT = 0;  // saturation at the test temperature and 1 atm, mg/L
  double tau = 0;
  double omega = 0;
  double cinf20 = 0;           // mg/L
  double kla20 = 0;            // per hour
  double klaT = 0;             // per hour
  double sotr = 0;             // lb O2/h
  std::optional<double> sote;  // percent; empty without an air flow
  double satDepthFt = 0;
};

// One row of the initial analysis: the starting estimates at one threshold.
struct InitialEstimate {
  double thresholdPercent = 0;
  double c0 = 0;
  double cinf = 0;
  double kla = 0;  // per minute
};

struct SetRecord {
  int set = 0;              // 1 to 6
  double startPercent = 0;  // the threshold the Run trimmed at
  double timeShift = 0;     // time, as read, of the first kept reading
  Readings kept;            // kept readings, times from the first kept one
  Readings raw;             // the readings as read
  ProgramFit fit;
  ProgramFigures figures;
  std::vector<InitialEstimate> initialAnalysis;  // thresholds 0, 2, ... 30 %
};

// The averages row as the program wrote it; empty where nothing is written.
struct ProgramAverages {
  std::optional<double> kla20, cinf20, sote, sotr, satDepthFt, stdErr;
};

struct RunRecord {
  Conditions conditions;
  std::vector<SetRecord> sets;
  ProgramAverages averages;
};

const char* stopReasonName(StopReason reason);

}  // namespace vk::assess

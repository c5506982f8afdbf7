#pragma once
// Evaluating the check table against a run and what the assessment found.

#include <string>
#include <vector>

#include "assess/CheckTable.h"
#include "assess/Criteria.h"
#include "assess/RunRecord.h"
#include "assess/SetAssessment.h"

namespace vk::assess {

struct Measurement {
  const LimitRow* row = nullptr;  // quantity, unit, key, comparison, severity
  double limit = 0;               // as applied
  Maybe<double> value;
  bool met = true;  // meaningful when value is set
};

struct CheckResult {
  const CheckRow* row = nullptr;
  int set = 0;  // 0: a check of the whole test
  std::vector<Measurement> measurements;
  Verdict verdict = Verdict::NotApplicable;
};

// Every check of the table: the per-set ones for each set in order, then the
// test's; within each, in the table's order.
std::vector<CheckResult> evaluateChecks(const RunRecord& record, const std::vector<SetAssessment>& sets,
                                        const ProbeSpread& spread, const Criteria& criteria);

}  // namespace vk::assess

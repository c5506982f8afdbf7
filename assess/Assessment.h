#pragma once
// The assessment of a Run: how certain each probe's results are and whether
// the test was valid. It reads what the Run left and changes nothing of it.

#include <vector>

#include "assess/Checklist.h"
#include "assess/Criteria.h"
#include "assess/RunRecord.h"
#include "assess/SetAssessment.h"
#include "assess/Truncation.h"

namespace vk::assess {

struct AssessOptions {
  Trimming trimming;                 // the program's trimming; without it the truncation is not applicable
  bool fullTruncationCurve = false;  // all 16 thresholds, for a report; else 0 % and 20 % only
};

struct Assessment {
  std::vector<SetAssessment> sets;  // in the order of the record
  ProbeSpread spread;
  std::vector<CheckResult> checks;
  bool fullTruncationCurve = false;

  Verdict worst() const;  // Fail over Warn over Pass; "not applicable" counts as Pass
};

// Said beside every interval of a single probe.
inline constexpr const char* kIntervalNote =
    "These intervals come from one probe's residuals. Those are usually serially correlated, so the intervals "
    "understate the real uncertainty; the spread between probes stands beside them.";

// Nothing the readings hold makes it throw: what cannot be computed is "not
// applicable". A set whose times and concentrations differ in number is a
// std::invalid_argument.
Assessment assess(const RunRecord& record, const Criteria& criteria, const AssessOptions& options);

}  // namespace vk::assess

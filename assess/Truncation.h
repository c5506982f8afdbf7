#pragma once
// How much the standardised results depend on where the start of the curve
// is cut: each set's readings as read are trimmed with the program's own
// trimming at several start thresholds and fitted in double precision.

#include <functional>
#include <vector>

#include "assess/Curve.h"
#include "assess/Maybe.h"
#include "assess/Readings.h"
#include "assess/Standardisation.h"

namespace vk::assess {

// The program's start trimming of one set: from the readings as read, the
// kept readings with their times counted from the first kept one. It is
// given a copy and may throw (std::exception) when nothing can be kept; that
// threshold is then "not applicable".
using Trimming = std::function<Readings(const Readings& raw, double startPercent)>;

// The thresholds compared by the truncation check: 0 % against this one.
inline constexpr double kTruncationComparedPercent = 20;

// 0 % and the compared threshold; with `fullCurve`, 0, 2, ... 30 %.
std::vector<double> truncationThresholds(bool fullCurve);

struct TruncatedFit {
  CurveParams params;
  double kla20 = 0;   // per hour
  double cinf20 = 0;  // mg/L
};

struct TruncationPoint {
  double thresholdPercent = 0;
  int kept = 0;  // readings kept; 0 when the trimming failed
  Maybe<TruncatedFit> fit;
};

struct Truncation {
  std::vector<TruncationPoint> points;  // ascending thresholds
  // 100 (KLa20 at the compared threshold - KLa20 at 0 %) / KLa20 at 0 %.
  Maybe<double> kla20ChangePercent;
};

// Each fit starts from `start` for Cinf and KLa and from the first kept
// reading for C0.
Truncation truncationSensitivity(const Readings& raw, const StandardInputs& standard, const CurveParams& start,
                                 const Trimming& trim, const std::vector<double>& thresholds);

}  // namespace vk::assess

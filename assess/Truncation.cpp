#include "assess/Truncation.h"

#include <algorithm>
#include <exception>
#include <string>

#include "assess/DoubleFit.h"

namespace vk::assess {

std::vector<double> truncationThresholds(bool fullCurve) {
  std::vector<double> t;
  if (fullCurve)
    for (int level = 0; level <= 30; level += 2) t.push_back(level);
  else
    t = {0.0};
  if (std::find(t.begin(), t.end(), kTruncationComparedPercent) == t.end()) t.push_back(kTruncationComparedPercent);
  std::sort(t.begin(), t.end());
  return t;
}

namespace {

TruncationPoint fitAt(const Readings& raw, const StandardInputs& standard, const CurveParams& start,
                      const Trimming& trim, double threshold) {
  TruncationPoint point;
  point.thresholdPercent = threshold;
  Readings kept;
  try {
    kept = trim(raw, threshold);
  } catch (const std::exception& e) {
    point.fit = Maybe<TruncatedFit>::none(std::string("the trimming failed: ") + e.what());
    return point;
  }
  point.kept = static_cast<int>(kept.size());
  if (kept.size() == 0) {
    point.fit = Maybe<TruncatedFit>::none("no reading is kept");
    return point;
  }
  const Optimum optimum = fitDouble(kept, {kept.conc.front(), start.cinf, start.kla});
  if (!optimum.converged) {
    point.fit = Maybe<TruncatedFit>::none("the double-precision fit did not converge: " + optimum.stop);
    return point;
  }
  const StandardFigures f = standardise(standard, optimum.params.cinf, optimum.params.kla);
  point.fit = TruncatedFit{optimum.params, f.kla20, f.cinf20};
  return point;
}

const TruncationPoint* at(const std::vector<TruncationPoint>& points, double threshold) {
  for (const auto& p : points)
    if (p.thresholdPercent == threshold) return &p;
  return nullptr;
}

}  // namespace

Truncation truncationSensitivity(const Readings& raw, const StandardInputs& standard, const CurveParams& start,
                                 const Trimming& trim, const std::vector<double>& thresholds) {
  Truncation t;
  for (double threshold : thresholds) t.points.push_back(fitAt(raw, standard, start, trim, threshold));

  const TruncationPoint* base = at(t.points, 0);
  const TruncationPoint* compared = at(t.points, kTruncationComparedPercent);
  if (!base || !compared)
    t.kla20ChangePercent = Maybe<double>::none("the compared thresholds were not fitted");
  else if (!base->fit || !compared->fit)
    t.kla20ChangePercent = Maybe<double>::none("a compared threshold could not be fitted");
  else if (base->fit->kla20 == 0)
    t.kla20ChangePercent = Maybe<double>::none("KLa20 at 0 % is zero");
  else
    t.kla20ChangePercent = 100 * (compared->fit->kla20 - base->fit->kla20) / base->fit->kla20;
  return t;
}

}  // namespace vk::assess

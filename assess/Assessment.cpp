#include "assess/Assessment.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace vk::assess {

namespace {

Maybe<double> relativeDifference(double program, double optimum) {
  if (optimum == 0) return Maybe<double>::none("the optimum is zero");
  return (program - optimum) / std::fabs(optimum);
}

// A record whose readings do not pair up was put together wrongly: that is
// the caller's fault, not a finding about the test.
void checkPaired(const SetRecord& rec) {
  if (rec.kept.times.size() != rec.kept.conc.size() || rec.raw.times.size() != rec.raw.conc.size())
    throw std::invalid_argument("the readings of data set " + std::to_string(rec.set) +
                                " have not as many times as concentrations");
}

SetAssessment assessSet(const SetRecord& rec, const Conditions& conditions, const AssessOptions& options) {
  checkPaired(rec);
  SetAssessment a;
  a.set = rec.set;
  a.kept = static_cast<int>(rec.kept.size());
  const CurveParams program{rec.fit.c0, rec.fit.cinf, rec.fit.kla};
  a.optimum = fitDouble(rec.kept, program);
  for (int p = 0; p < kParameters; ++p)
    a.comparison[static_cast<std::size_t>(p)] = {
        program[p], a.optimum.params[p],
        a.optimum.converged ? relativeDifference(program[p], a.optimum.params[p])
                            : Maybe<double>::none("the double-precision fit did not converge")};

  const StandardInputs standard{conditions, rec.figures.pv, rec.figures.csT};
  a.parameters = parameterUncertainty(rec.kept, a.optimum);
  if (a.parameters)
    a.standard = propagate(standard, a.optimum.params, a.parameters->covariance, a.parameters->t975);
  else
    a.standard = Maybe<StandardUncertainty>::none(a.parameters.reason);
  a.residuals = diagnoseResiduals(a.optimum.residuals, a.optimum.freeParameters());

  const std::vector<double> thresholds = truncationThresholds(options.fullTruncationCurve);
  if (options.trimming) {
    a.truncation = truncationSensitivity(rec.raw, standard, program, options.trimming, thresholds);
  } else {
    for (double t : thresholds) a.truncation.points.push_back({t, 0, Maybe<TruncatedFit>::none("no trimming given")});
    a.truncation.kla20ChangePercent = Maybe<double>::none("no trimming given");
  }
  return a;
}

ProbeSpread spreadOfProbes(const RunRecord& record) {
  std::vector<double> kla20, cinf20, sotr, sote;
  bool everySote = true;
  for (const auto& s : record.sets) {
    kla20.push_back(s.figures.kla20);
    cinf20.push_back(s.figures.cinf20);
    sotr.push_back(s.figures.sotr);
    if (s.figures.sote)
      sote.push_back(*s.figures.sote);
    else
      everySote = false;
  }
  ProbeSpread p{spreadOf(kla20), spreadOf(cinf20), spreadOf(sotr), spreadOf(sote)};
  if (!everySote) p.sote = Maybe<SpreadStats>::none("no air flow is given");
  return p;
}

}  // namespace

Verdict Assessment::worst() const {
  Verdict w = Verdict::Pass;
  for (const auto& c : checks) {
    if (c.verdict == Verdict::Fail) return Verdict::Fail;
    if (c.verdict == Verdict::Warn) w = Verdict::Warn;
  }
  return w;
}

Assessment assess(const RunRecord& record, const Criteria& criteria, const AssessOptions& options) {
  Assessment out;
  out.fullTruncationCurve = options.fullTruncationCurve;
  for (const auto& rec : record.sets) out.sets.push_back(assessSet(rec, record.conditions, options));
  out.spread = spreadOfProbes(record);
  out.checks = evaluateChecks(record, out.sets, out.spread, criteria);
  return out;
}

}  // namespace vk::assess

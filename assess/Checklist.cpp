#include "assess/Checklist.h"

#include <cmath>

namespace vk::assess {

namespace {

using Values = std::array<Maybe<double>, 2>;

bool meets(double value, Compare c, double limit) {
  switch (c) {
    case Compare::AtMost: return value <= limit;
    case Compare::AtLeast: return value >= limit;
    case Compare::Below: return value < limit;
    case Compare::Above: return value > limit;
  }
  return false;
}

Maybe<double> percentOf(double part, double whole) {
  if (whole <= 0) return Maybe<double>::none("C-infinity is not positive");
  return 100 * part / whole;
}

Maybe<double> absolute(const Maybe<double>& v) {
  if (!v) return v;
  return std::fabs(*v);
}

Maybe<double> percent(const Maybe<double>& fraction) {
  if (!fraction) return fraction;
  return 100 * std::fabs(*fraction);
}

// The measured values of a per-set check, one per limit of its row.
Values measureSet(CheckId id, const SetRecord& rec, const SetAssessment& a, const std::vector<double>& kla20s,
                  std::size_t index) {
  const Readings& kept = rec.kept;
  switch (id) {
    case CheckId::FitConverged: return {Maybe<double>(rec.fit.solver.passes), {}};
    case CheckId::StartLevel:
      if (kept.size() == 0) return {Maybe<double>::none("no reading is kept"), {}};
      return {percentOf(kept.conc.front(), rec.fit.cinf), {}};
    case CheckId::EndLevel:
      if (kept.size() == 0) return {Maybe<double>::none("no reading is kept"), {}};
      return {percentOf(kept.conc.back(), rec.fit.cinf), {}};
    case CheckId::KeptReadings: {
      const Maybe<double> n = static_cast<double>(kept.size());
      return {n, n};
    }
    case CheckId::KLaInterval: {
      if (!a.parameters) return {Maybe<double>::none(a.parameters.reason), {}};
      const double kla = a.optimum.params.kla;
      if (kla == 0) return {Maybe<double>::none("KLa is zero"), {}};
      const auto k = static_cast<std::size_t>(kKLa);
      return {100 * a.parameters->t975 * a.parameters->se[k] / std::fabs(kla), {}};
    }
    case CheckId::OptimumAgreement:
      return {percent(a.comparison[kKLa].relativeDifference), percent(a.comparison[kCinf].relativeDifference)};
    case CheckId::ResidualsRandom: return {absolute(a.residuals.runsZ), a.residuals.lag1Autocorrelation};
    case CheckId::DepthPositive: return {Maybe<double>(rec.figures.cinf20), {}};
    case CheckId::ProbeOutlier: return {distanceFromOthers(kla20s, index), {}};
    case CheckId::Truncation: return {absolute(a.truncation.kla20ChangePercent), {}};
    default: return {};
  }
}

Values measureTest(CheckId id, const RunRecord& record, const ProbeSpread& spread) {
  auto cv = [](const Maybe<SpreadStats>& s) -> Maybe<double> {
    if (!s) return Maybe<double>::none(s.reason);
    return s->cvPercent;
  };
  switch (id) {
    case CheckId::WaterTemperature: {
      const Maybe<double> t = record.conditions.waterTempC;
      return {t, t};
    }
    case CheckId::ProbeSpread: return {cv(spread.kla20), cv(spread.sotr)};
    default: return {};
  }
}

CheckResult judge(const CheckRow& row, int set, const Values& values, const Criteria& criteria) {
  CheckResult r;
  r.row = &row;
  r.set = set;
  bool missing = false;
  Verdict worst = Verdict::Pass;
  for (std::size_t l = 0; l < row.limitCount; ++l) {
    Measurement m;
    m.row = &row.limits[l];
    m.limit = criteria.limit(row.id, l);
    m.value = values[l];
    if (m.value && !std::isfinite(*m.value)) m.value = Maybe<double>::none("not a finite number");
    if (!m.value) {
      missing = true;
    } else {
      m.met = meets(*m.value, m.row->compare, m.limit);
      if (!m.met && (worst == Verdict::Pass || m.row->onBreach == Verdict::Fail)) worst = m.row->onBreach;
    }
    r.measurements.push_back(m);
  }
  r.verdict = worst == Verdict::Pass && missing ? Verdict::NotApplicable : worst;
  return r;
}

}  // namespace

std::vector<CheckResult> evaluateChecks(const RunRecord& record, const std::vector<SetAssessment>& sets,
                                        const ProbeSpread& spread, const Criteria& criteria) {
  std::vector<double> kla20s;
  for (const auto& s : record.sets) kla20s.push_back(s.figures.kla20);

  std::vector<CheckResult> results;
  for (std::size_t i = 0; i < record.sets.size(); ++i) {
    const SetRecord& rec = record.sets[i];
    for (const auto& row : kCheckTable) {
      if (row.scope != Scope::Set) continue;
      CheckResult r = judge(row, rec.set, measureSet(row.id, rec, sets[i], kla20s, i), criteria);
      // Convergence is the solver's own verdict; the passes stand beside
      // the limit it ran under.
      if (row.id == CheckId::FitConverged) {
        Measurement& m = r.measurements.front();
        m.limit = rec.fit.solver.passLimit;
        m.met = rec.fit.solver.converged;
        r.verdict = m.met ? Verdict::Pass : Verdict::Fail;
      }
      results.push_back(std::move(r));
    }
  }
  for (const auto& row : kCheckTable)
    if (row.scope == Scope::Test) results.push_back(judge(row, 0, measureTest(row.id, record, spread), criteria));
  return results;
}

}  // namespace vk::assess

#include "commands/RunRecordOf.h"

namespace vk {

namespace {

std::optional<double> number(const Variant& v) {
  if (v.isEmpty()) return std::nullopt;
  return v.asDouble();
}

assess::Readings readings(const SetReadings& r) {
  return {{r.Times.begin(), r.Times.end()}, {r.Conc.begin(), r.Conc.end()}};
}

assess::StopReason stopReason(FitStop stop) {
  switch (stop) {
    case FitStop::StepsSmall: return assess::StopReason::StepsSmall;
    case FitStop::SumSqSteady: return assess::StopReason::SumOfSquaresSettled;
    case FitStop::PassLimit: return assess::StopReason::PassLimit;
  }
  return assess::StopReason::NotRecorded;
}

assess::ProgramFit programFit(const SetResult& s) {
  assess::ProgramFit fit;
  fit.c0 = s.C0;
  fit.cinf = s.Cinf;
  fit.kla = s.KLa;
  fit.stdErr = number(s.StdErr);
  fit.solver = {s.fit.passes,           kMaxPasses,         s.fit.converged(),
                stopReason(s.fit.stop), s.fit.initialSumSq, s.fit.finalSumSq};
  for (const FitPass& p : s.history) fit.history.push_back({int(p.pass), p.cinf, p.c0, p.kla, p.sumSq.asDouble()});
  return fit;
}

assess::ProgramFigures programFigures(const StandardFigures& f) {
  return {f.Pv, f.CsT, f.Tau, f.Omega, f.CinfStd, f.KLa20, f.KLaT, f.SOTR.asDouble(), number(f.SOTE), f.SatDepth};
}

}  // namespace

assess::RunRecord runRecordOf(const RunSummary& run, const ReadingSummary& reading) {
  assess::RunRecord record;
  const TestConditions& c = run.conditions;
  record.conditions = {c.WaterTemp, c.BaroPress, c.TankVolume, c.AirFlow};
  for (const SetResult& s : run.sets) {
    assess::SetRecord rec;
    rec.set = s.set;
    rec.startPercent = s.StartPercent;
    rec.timeShift = s.TimeShift;
    rec.kept = readings(s.kept);
    rec.raw = readings(s.raw);
    rec.fit = programFit(s);
    rec.figures = programFigures(s.figures);
    const auto index = static_cast<std::size_t>(s.set - 1);
    if (index < reading.initialAnalysis.size())
      for (const InitialEstimates& e : reading.initialAnalysis[index])
        rec.initialAnalysis.push_back({e.StartPercent, e.C0, e.Cinf, e.KLa});
    record.sets.push_back(std::move(rec));
  }
  const Averages& a = run.averages;
  record.averages = {number(a.KLa20), number(a.CinfStd),  number(a.SOTE),
                     number(a.SOTR),  number(a.SatDepth), number(a.StdErr)};
  return record;
}

}  // namespace vk

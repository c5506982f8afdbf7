#include "tests/support/ProgramRecord.h"

#include <memory>

#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "report/ResultWriting.h"
#include "report/Standardise.h"
#include "workbook/Book.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

namespace {

void loadReadings(Module1& m, const std::vector<std::vector<float>>& sets, const std::vector<float>& times) {
  m.NumSets = Integer::checked(static_cast<long long>(sets.size()));
  m.NumPoints = Integer::checked(static_cast<long long>(times.size()));
  m.dimensionReadings(m.NumSets, m.NumPoints);
  for (std::size_t s = 0; s < sets.size(); ++s)
    for (std::size_t p = 0; p < times.size(); ++p) {
      const int set = static_cast<int>(s) + 1, reading = static_cast<int>(p) + 1;
      m.ConcRaw(set, reading) = sets[s][p];
      m.TimesRaw(set, reading) = times[p];
    }
  RestoreData(m);
}

assess::Readings keptReadings(const Module1& m, int set) {
  assess::Readings kept;
  for (int q = 1; q <= m.NumKept[set].asInteger(); ++q) {
    kept.times.push_back(m.Times(set, q));
    kept.conc.push_back(m.Conc(set, q));
  }
  return kept;
}

// The fit's history as the Run writes it: the estimates each pass started from.
FitCallbacks recordHistory(std::vector<assess::FitPass>& history) {
  FitCallbacks callbacks;
  callbacks.passEnded = [&history](const FitPass& pass) {
    history.push_back({int(pass.pass), pass.cinf, pass.c0, pass.kla, pass.sumSq.asDouble()});
  };
  return callbacks;
}

std::optional<double> number(const Variant& v) {
  if (v.isEmpty()) return std::nullopt;
  return v.asDouble();
}

}  // namespace

assess::Readings trimWithProgram(const assess::Readings& raw, double startPercent) {
  Module1 m;
  std::vector<float> conc, times;
  for (std::size_t p = 0; p < raw.size(); ++p) {
    conc.push_back(static_cast<float>(raw.conc[p]));
    times.push_back(static_cast<float>(raw.times[p]));
  }
  loadReadings(m, {conc}, times);
  m.StartPercent = static_cast<float>(startPercent);
  TrimWork work;
  SelectFitWindow(m, work, 1);
  return keptReadings(m, 1);
}

assess::RunRecord runProgram(const ProgramTest& test) {
  Module1 m;
  m.Engine = std::make_shared<MemoryEngine>();
  m.WorkbookPath = m.WorkbookName = "assessed.xlsx";
  OpenBook(m);
  loadReadings(m, test.sets, test.times);
  const assess::Conditions& c = test.conditions;
  const TestConditions conditions{static_cast<float>(c.waterTempC), static_cast<float>(c.baroPressInHg),
                                  static_cast<float>(c.tankVolumeFt3), static_cast<float>(c.airFlowScfm)};

  assess::RunRecord record;
  record.conditions = {conditions.WaterTemp, conditions.BaroPress, conditions.TankVolume, conditions.AirFlow};
  TrimWork work;
  std::vector<std::vector<assess::InitialEstimate>> initial(test.sets.size());
  for (int level = 0; level < 16; ++level) {
    RestoreData(m);
    m.StartPercent = static_cast<float>(2 * level);
    for (int s = 1; s <= m.NumSets; ++s) {
      SelectFitWindow(m, work, s);
      StartEstimates(m, work, s);
      initial[static_cast<std::size_t>(s - 1)].push_back({m.StartPercent, m.C0[s], m.Cinf[s], m.KLa[s]});
    }
  }

  RestoreData(m);
  FitLocals fit;
  RunningSums sums;
  for (int s = 1; s <= m.NumSets; ++s) {
    assess::SetRecord rec;
    rec.set = s;
    rec.startPercent = m.StartPercent = test.startPercent;
    for (int p = 1; p <= m.NumPoints; ++p) {
      rec.raw.times.push_back(m.TimesRaw(s, p));
      rec.raw.conc.push_back(m.ConcRaw(s, p));
    }
    SelectFitWindow(m, work, s);
    StartEstimates(m, work, s);
    StartFit(m, fit, s);
    std::vector<assess::FitPass> history;
    const FitSummary summary = FitDataSet(m, fit, s, FitOptions{}, recordHistory(history));
    rec.fit.solver.initialSumSq = summary.initialSumSq;
    rec.fit.solver.converged = summary.converged();
    rec.fit.solver.passes = summary.passes;
    rec.fit.solver.passLimit = kMaxPasses;
    rec.fit.solver.stopReason = summary.stop == FitStop::StepsSmall    ? assess::StopReason::StepsSmall
                                : summary.stop == FitStop::SumSqSteady ? assess::StopReason::SumOfSquaresSettled
                                                                       : assess::StopReason::PassLimit;
    rec.fit.solver.finalSumSq = summary.finalSumSq;
    rec.fit.c0 = m.C0[s];
    rec.fit.cinf = m.Cinf[s];
    rec.fit.kla = m.KLa[s];
    rec.fit.stdErr = number(fit.StdErr[s]);
    rec.fit.history = std::move(history);
    rec.timeShift = m.TimeShift[s];
    rec.kept = keptReadings(m, s);

    const StandardFigures f = Standardise(conditions, m.Cinf[s], m.KLa[s], s);
    rec.figures = {f.Pv,           f.CsT,     f.Tau, f.Omega, f.CinfStd, f.KLa20, f.KLaT, f.SOTR.asDouble(),
                   number(f.SOTE), f.SatDepth};
    sums.add(f, fit.StdErr[s]);
    rec.initialAnalysis = initial[static_cast<std::size_t>(s - 1)];
    record.sets.push_back(std::move(rec));
  }
  const Averages avg = WriteAverages(dataBook(m), sums, m.NumSets);
  record.averages = {number(avg.KLa20), number(avg.CinfStd),  number(avg.SOTE),
                     number(avg.SOTR),  number(avg.SatDepth), number(avg.StdErr)};
  return record;
}

}  // namespace vk::test

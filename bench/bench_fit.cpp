// One data set through trimming, starting estimates and the fit, for 60,
// 1,000 and 32,723 readings. Reports the time per reading per pass.

#include <benchmark/benchmark.h>

#include <cmath>

#include "estimate/Fit.h"
#include "intake/Trimming.h"

namespace {

void BM_FitOneSet(benchmark::State& state) {
  using namespace vk;
  const int n = int(state.range(0));
  Module1 m;
  m.NumSets = Integer(1);
  m.NumPoints = Integer::checked(n);
  m.dimensionReadings(1, n);
  // A test of 60 minutes, whatever the number of readings, with a little noise.
  for (int p = 1; p <= n; ++p) {
    const double t = 60.0 * (p - 1) / (n - 1);
    m.TimesRaw(1, p) = float(t);
    m.ConcRaw(1, p) = float(9.2 - 8.5 * std::exp(-0.12 * t) + 0.02 * std::sin(p * 1.7));
  }
  m.StartPercent = 10;
  long passes = 0;
  for (auto _ : state) {
    TrimWork work;
    FitLocals fit;
    RestoreData(m);
    SelectFitWindow(m, work, 1);
    StartEstimates(m, work, 1);
    StartFit(m, fit, 1);
    benchmark::DoNotOptimize(FitDataSet(m, fit, 1));
    passes += fit.PassCount[1];
  }
  state.counters["passes"] = double(passes) / double(state.iterations());
  state.counters["ns_per_reading_pass"] =
      benchmark::Counter(double(passes) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FitOneSet)->Arg(60)->Arg(1000)->Arg(32723)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

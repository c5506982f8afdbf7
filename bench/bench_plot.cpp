// Drawing the report's plots: one probe's DO plot (readings, kept ones
// marked, fitted curve) and its residual plot, for 300 readings and for
// 32,723 (drawn thinned to 2,000). Reports the time and the SVG's size,
// in total and per drawn marker.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "plot/Figure.h"

namespace {

using namespace vk::plot;

struct Probe {
  std::vector<double> t, c, residual;
  std::vector<bool> kept;
};

double curve(double t) { return 9.1 - 8.6 * std::exp(-0.11 * t); }

Probe probe(std::size_t n) {
  Probe p;
  for (std::size_t i = 0; i < n; ++i) {
    // Readings as a probe logs them: two decimals, stored as 32-bit floats.
    const double t = double(float(40.0 * double(i) / double(n - 1)));
    const double c = double(float(std::round((curve(t) + 0.04 * std::sin(double(i) * 12.9898)) * 100) / 100));
    p.t.push_back(t);
    p.c.push_back(c);
    p.residual.push_back(c - curve(t));
    p.kept.push_back(c > 0.9 && c < 8.9);
  }
  return p;
}

void BM_ProbePlots(benchmark::State& state) {
  const Probe p = probe(std::size_t(state.range(0)));
  std::size_t bytes = 0, markers = 0;
  for (auto _ : state) {
    Figure doPlot{"Probe 1: DO against time"};
    doPlot.xAxis("Time", "min", "t");
    doPlot.yAxis("DO", "mg/L");
    doPlot.add(Points{.label = "Readings", .x = p.t, .y = p.c, .highlighted = p.kept, .highlightLabel = "Kept"});
    doPlot.add(sampled("Fitted curve", curve, 0, 40));
    Figure residuals{"Probe 1: residuals"};
    residuals.xAxis("Time", "min", "t");
    residuals.yAxis("Residual", "mg/L", "r");
    residuals.add(ReferenceLine{});
    residuals.add(Points{.label = "Residuals", .x = p.t, .y = p.residual});
    const std::string a = doPlot.svg(), b = residuals.svg();
    bytes = a.size() + b.size();
    markers = std::min<std::size_t>(p.t.size(), 2000) * 2;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = double(bytes);
  state.counters["bytes_per_marker"] = double(bytes) / double(markers);
}
BENCHMARK(BM_ProbePlots)->Arg(300)->Arg(32723)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

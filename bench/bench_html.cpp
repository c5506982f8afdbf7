// The HTML test report of a six-probe Run on 6 x 300 and 6 x 32,723
// readings: writing it from a finished assessment (the full 16-threshold
// curve), and the assessment and report together. Reports the time and the
// file's size. Making the Run's record is set-up, not timed.

#include <benchmark/benchmark.h>

#include <sstream>

#include "assess/Assessment.h"
#include "export/html/HtmlReport.h"
#include "tests/assess/Scenarios.h"

namespace {

using namespace vk;

const exporter::ReportHeader kHeader{"0.1.0", "2024-05-01T10:00:00Z", "embedded", "bench.xlsx",
                                     "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"};

assess::Assessment fullAssessment(const assess::RunRecord& r) {
  return assess::assess(r, assess::Criteria(), {vk::trimWithProgram, true});
}

void HtmlReport(benchmark::State& state) {
  const assess::RunRecord& r = test::thirtyMinuteRecord(int(state.range(0)));
  const assess::Assessment a = fullAssessment(r);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    exporter::writeHtmlReport(out, kHeader, r, a);
    bytes = out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = double(bytes);
}

void AssessmentAndHtmlReport(benchmark::State& state) {
  const assess::RunRecord& r = test::thirtyMinuteRecord(int(state.range(0)));
  for (auto _ : state) {
    const assess::Assessment a = fullAssessment(r);
    std::ostringstream out;
    exporter::writeHtmlReport(out, kHeader, r, a);
    benchmark::DoNotOptimize(out.str().data());
  }
}

}  // namespace

BENCHMARK(HtmlReport)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK(AssessmentAndHtmlReport)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

// The assessment of a six-probe Run: the checks of the default run (the
// optimum, intervals, diagnostics and the 0 % and 20 % truncation fits),
// also with the record made from the Run's summaries as the batch tool does,
// and the full assessment with the 16-threshold curve and its JSON, on
// 6 x 300 and 6 x 32,723 readings. Running the commands is set-up, not timed.

#include <benchmark/benchmark.h>

#include "assess/Assessment.h"
#include "commands/RunRecordOf.h"
#include "export/JsonReport.h"
#include "tests/assess/Scenarios.h"

namespace {

using namespace vk;

void DefaultChecks(benchmark::State& state) {
  const assess::RunRecord& r = test::thirtyMinuteRecord(int(state.range(0)));
  for (auto _ : state) {
    const assess::Assessment a = assess::assess(r, assess::Criteria(), {vk::trimWithProgram, false});
    benchmark::DoNotOptimize(a.checks.data());
  }
}

// What the batch tool does after every Run: the record from the Run's
// summaries, then the default checks.
void DefaultChecksFromTheRun(benchmark::State& state) {
  const int readings = int(state.range(0));
  const test::ProgramRun done = test::runCommands(test::sixProbeTest(15, {}, 30.0 / readings, readings));
  for (auto _ : state) {
    const assess::RunRecord r = runRecordOf(done.run, done.reading);
    const assess::Assessment a = assess::assess(r, assess::Criteria(), {vk::trimWithProgram, false});
    benchmark::DoNotOptimize(a.checks.data());
  }
}

void FullAssessment(benchmark::State& state) {
  const assess::RunRecord& r = test::thirtyMinuteRecord(int(state.range(0)));
  for (auto _ : state) {
    const assess::Assessment a = assess::assess(r, assess::Criteria(), {vk::trimWithProgram, true});
    benchmark::DoNotOptimize(a.checks.data());
  }
}

void FullAssessmentAndJson(benchmark::State& state) {
  const assess::RunRecord& r = test::thirtyMinuteRecord(int(state.range(0)));
  const exporter::ReportHeader header{"0.1.0", "2024-05-01T10:00:00Z", "embedded", "bench.xlsx", ""};
  for (auto _ : state) {
    const assess::Assessment a = assess::assess(r, assess::Criteria(), {vk::trimWithProgram, true});
    const std::string json = exporter::assessmentJson(header, r, a);
    benchmark::DoNotOptimize(json.data());
  }
}

}  // namespace

BENCHMARK(DefaultChecks)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK(DefaultChecksFromTheRun)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK(FullAssessment)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK(FullAssessmentAndJson)->Arg(300)->Arg(32723)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

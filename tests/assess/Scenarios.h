#pragma once
// Six-probe tests, of 300 readings six seconds apart unless told otherwise,
// as the program analyses them: a sound one, and one for each way a test can
// go wrong.

#include <functional>
#include <map>

#include "report/WaterFormulas.h"
#include "tests/support/ProgramRecord.h"
#include "tests/support/SyntheticProbes.h"

namespace vk::test {

using ProbeTweak = std::function<void(int probe, ProbeShape&)>;

// Probes in two groups of three, 1 % above and below the mean KLa, so that
// none stands out from the others; C-infinity 5 % above surface saturation
// at the test temperature, C0 at 5 % of it.
inline ProgramTest sixProbeTest(double waterTemp = 15, const ProbeTweak& tweak = {}, double step = 0.1,
                                int readings = 300) {
  ProgramTest t;
  t.conditions = {waterTemp, 29.5, 1000, 50};
  t.times = evenTimes(readings, step);
  const double surface = SatDO(float(waterTemp));
  for (int probe = 0; probe < 6; ++probe) {
    ProbeShape p;
    p.cinf = 1.05 * surface;
    p.c0 = 0.05 * surface;
    p.kla = 0.25 * (probe < 3 ? 0.99 : 1.01);
    p.seed = unsigned(11 + probe);
    if (tweak) tweak(probe, p);
    t.sets.push_back(probeReadings(t.times, p));
  }
  return t;
}

// The record of a 30-minute six-probe test of `readings` readings per probe,
// made once per density: the benchmarks time what follows it.
inline const assess::RunRecord& thirtyMinuteRecord(int readings) {
  static std::map<int, assess::RunRecord> records;
  auto it = records.find(readings);
  if (it == records.end())
    it = records.emplace(readings, runProgram(sixProbeTest(15, {}, 30.0 / readings, readings))).first;
  return it->second;
}

}  // namespace vk::test

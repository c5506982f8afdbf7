#include "commands/ProgramTrimming.h"

#include "intake/Trimming.h"

namespace vk {

assess::Readings trimWithProgram(const assess::Readings& raw, double startPercent) {
  Module1 m;
  m.NumSets = Integer(1);
  m.NumPoints = Integer::checked(static_cast<long long>(raw.size()));
  m.dimensionReadings(1, m.NumPoints);
  for (std::size_t p = 0; p < raw.size(); ++p) {
    const int reading = static_cast<int>(p) + 1;
    m.ConcRaw(1, reading) = static_cast<float>(raw.conc[p]);
    m.TimesRaw(1, reading) = static_cast<float>(raw.times[p]);
  }
  RestoreData(m);
  m.StartPercent = static_cast<float>(startPercent);
  TrimWork work;
  SelectFitWindow(m, work, 1);

  assess::Readings kept;
  for (int q = 1; q <= m.NumKept[1].asInteger(); ++q) {
    kept.times.push_back(m.Times(1, q));
    kept.conc.push_back(m.Conc(1, q));
  }
  return kept;
}

}  // namespace vk

#pragma once
// Builds the test sheet of a workbook: conditions in C7:C12, readings from
// row 7 (time in G, probe s in column 7 + s). Most tests fill it with the
// worked example.

#include <vector>

#include "tests/support/WorkedExample.h"
#include "workbook/CellMap.h"
#include "workbook/Workbook.h"

namespace vk::test {

struct TestData {
  double waterTemp = 15, baroPress = 29.5, tankVolume = 1000, airFlow = 50;
  std::vector<float> times;
  std::vector<std::vector<float>> sets;  // sets[s][p]
};

inline void writeTestSheet(Workbook& book, const TestData& d) {
  namespace c = cells;
  const int s1 = c::kTestSheet, col = c::kConditionColumn;
  book.write(s1, c::kNumPointsRow, col, Integer::checked(long(d.times.size())));
  book.write(s1, c::kNumSetsRow, col, Integer::checked(long(d.sets.size())));
  book.write(s1, c::kWaterTempRow, col, Variant::dbl(d.waterTemp));
  book.write(s1, c::kBaroPressRow, col, Variant::dbl(d.baroPress));
  book.write(s1, c::kTankVolumeRow, col, Variant::dbl(d.tankVolume));
  book.write(s1, c::kAirFlowRow, col, Variant::dbl(d.airFlow));
  for (size_t p = 0; p < d.times.size(); ++p) {
    book.write(s1, c::readingRow(int(p) + 1), c::kTimeColumn, Variant::dbl(d.times[p]));
    for (size_t s = 0; s < d.sets.size(); ++s)
      book.write(s1, c::readingRow(int(p) + 1), c::concColumn(int(s) + 1), Variant::dbl(d.sets[s][p]));
  }
}

}  // namespace vk::test

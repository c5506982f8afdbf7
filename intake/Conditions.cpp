#include "intake/Conditions.h"

#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/ReadCell.h"

namespace vk {

namespace c = cells;

void ReadConditions(Module1& m) {
  OpenBook(m);
  Workbook& book = dataBook(m);
  const int sheet = c::kTestSheet, col = c::kConditionColumn;
  m.NumPoints = readInteger(book, sheet, c::kNumPointsRow, col);
  m.NumSets = readInteger(book, sheet, c::kNumSetsRow, col);
  m.WaterTemp = readSingle(book, sheet, c::kWaterTempRow, col);
  m.BaroPress = readSingle(book, sheet, c::kBaroPressRow, col);
  m.TankVolume = readSingle(book, sheet, c::kTankVolumeRow, col);
  m.AirFlow = readSingle(book, sheet, c::kAirFlowRow, col);
}

}  // namespace vk

#include "commands/InputChecks.h"

#include <cmath>
#include <limits>

#include "module1/Fault.h"
#include "module1/NumberText.h"
#include "workbook/CellMap.h"
#include "workbook/CellText.h"

namespace vk {

namespace c = cells;

namespace {

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// What a cell must hold: a number, or a whole number, within limits.
struct Accepted {
  double low;
  bool lowIncluded;
  double high;
  const char* unit;  // "" for counts
  bool whole = false;
  std::string why = {};  // the reason for the limits, when they are not obvious

  bool admits(double v) const {
    return (lowIncluded ? v >= low : v > low) && v <= high && (!whole || v == std::floor(v));
  }
  std::string text() const {
    const std::string noun = whole ? "a whole number" : "a number";
    const std::string unit = *this->unit ? std::string(" ") + this->unit : "";
    const std::string reason = why.empty() ? "" : " (" + why + ")";
    if (high == kNoLimit)
      return (lowIncluded ? noun + " of " + numberText(low) + " or more" : noun + " above " + numberText(low)) + unit +
             reason;
    return noun + " from " + numberText(low) + " to " + numberText(high) + unit + reason;
  }
};

// The cell, what it holds for the analysis, and the fault about it.
struct InputCell {
  int sheet, row, column;
  std::string what;  // "water temperature", "reading 3 of data set 1"

  [[noreturn]] void refuse(FaultKind kind, const std::string& problem, const std::string& remedy) const {
    throw Fault(kind, cellName(sheet, row, column) + " (" + what + ") " + problem + "; " + remedy + ".");
  }
  [[noreturn]] void refuse(const std::string& problem, const Accepted& accepted) const {
    refuse(FaultKind::BadInput, problem, "it must be " + accepted.text());
  }
  // Refuses a blank cell (unless allowed) and a logical value; `remedy`
  // says what the cell must hold. Returns the cell's kind.
  CellKind checkKind(Workbook& book, const std::string& remedy, bool blankAllowed = false) const {
    const CellKind kind = book.cellKind(sheet, row, column);
    if (kind == CellKind::Empty && !blankAllowed) refuse(FaultKind::BadInput, "is blank", remedy);
    if (kind == CellKind::Boolean) refuse(FaultKind::TypeMismatch, "holds " + std::string(cellKindText(kind)), remedy);
    return kind;
  }
  CellKind checkKind(Workbook& book, const Accepted& accepted, bool blankAllowed = false) const {
    return checkKind(book, "it must be " + accepted.text(), blankAllowed);
  }
  void checkValue(double value, const Accepted& accepted) const {
    if (!accepted.admits(value)) refuse("holds " + numberText(value), accepted);
  }
  void checkValue(float value, const Accepted& accepted) const {
    if (!accepted.admits(double(value))) refuse("holds " + numberText(value), accepted);
  }
};

InputCell condition(int row) { return {c::kTestSheet, row, c::kConditionColumn, c::conditionName(row)}; }

const char* const kTemperature =
    "\xC2\xB0"
    "C";
const char* const kCubicFeet = "ft\xC2\xB3";

// The readings stand in rows 7 to the sheet's last row.
constexpr int kMostReadings = c::kLastRow - c::readingRow(0);
std::string readingRows() {
  return "the analysis needs at least 4, and the readings stand in rows " + std::to_string(c::readingRow(1)) + " to " +
         std::to_string(c::kLastRow) + " of sheet 1";
}

// A count: its value as the cell holds it, before the conversion to an
// Integer rounded it.
void checkCount(Workbook& book, int row, const Accepted& accepted) {
  const InputCell cell = condition(row);
  cell.checkKind(book, accepted);
  cell.checkValue(book.readNumber(cell.sheet, cell.row, cell.column), accepted);
}

}  // namespace

void CheckConditions(const Module1& m, Workbook& book) {
  checkCount(book, c::kNumPointsRow, {4, true, double(kMostReadings), "", true, readingRows()});
  checkCount(book, c::kNumSetsRow, {1, true, double(kMaxSets), "", true});
  struct Physical {
    int row;
    float value;
    Accepted accepted;
  };
  const Physical physical[] = {{c::kWaterTempRow, m.WaterTemp, {0, true, 45, kTemperature}},
                               {c::kBaroPressRow, m.BaroPress, {20, true, 32, "inHg"}},
                               {c::kTankVolumeRow, m.TankVolume, {0, false, kNoLimit, kCubicFeet}},
                               {c::kAirFlowRow, m.AirFlow, {0, true, kNoLimit, "scfm"}}};
  for (const Physical& p : physical) {
    const InputCell cell = condition(p.row);
    cell.checkKind(book, p.accepted, p.row == c::kAirFlowRow);  // a blank air flow is no air flow
    cell.checkValue(p.value, p.accepted);
  }
}

void CheckReadings(const Module1& m, Workbook& book) {
  const Accepted reading{-0.5, true, 100, "mg/L"};
  // Each cell is looked at cheaply first; the words of the checks are made
  // only for a cell that may be refused.
  auto passes = [](CellKind kind) { return kind != CellKind::Empty && kind != CellKind::Boolean; };
  for (int p = 1; p <= m.NumPoints; ++p) {
    const int row = c::readingRow(p);
    const CellKind timeKind = book.cellKind(c::kTestSheet, row, c::kTimeColumn);
    if (!passes(timeKind) || timeKind == CellKind::DateTime || (p > 1 && !(m.TimesRaw(1, p) > m.TimesRaw(1, p - 1)))) {
      const InputCell timeCell{c::kTestSheet, row, c::kTimeColumn, "time of reading " + std::to_string(p)};
      if (timeCell.checkKind(book, "it must be the minutes since the start of the test") == CellKind::DateTime)
        timeCell.refuse(FaultKind::TypeMismatch, "holds a date or time",
                        "enter the minutes since the start of the test instead (0 for the first reading)");
      if (p > 1 && !(m.TimesRaw(1, p) > m.TimesRaw(1, p - 1)))
        timeCell.refuse(FaultKind::BadInput,
                        "holds " + numberText(m.TimesRaw(1, p)) + ", not later than the time of reading " +
                            std::to_string(p - 1) + " (" + numberText(m.TimesRaw(1, p - 1)) + " in " +
                            a1Upper(row - 1, c::kTimeColumn) + ")",
                        "the times must increase from each reading to the next");
    }
    for (int s = 1; s <= m.NumSets; ++s) {
      if (passes(book.cellKind(c::kTestSheet, row, c::concColumn(s))) && reading.admits(double(m.ConcRaw(s, p))))
        continue;
      const InputCell cell{c::kTestSheet, row, c::concColumn(s),
                           "reading " + std::to_string(p) + " of data set " + std::to_string(s)};
      cell.checkKind(book, reading);
      cell.checkValue(m.ConcRaw(s, p), reading);
    }
  }
}

void CheckThresholdCell(Workbook& book, int set, float percent) {
  const Accepted accepted{kLowestThreshold, true, kHighestThreshold, "%"};
  const InputCell cell{c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set),
                       "start threshold of data set " + std::to_string(set)};
  cell.checkKind(book, accepted, true);  // a blank threshold is 0 %
  cell.checkValue(percent, accepted);
}

}  // namespace vk

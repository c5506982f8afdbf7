#pragma once
// The template's cell map: every cell and range the program reads, writes,
// clears or selects. No cell address is written as a literal anywhere else.

#include <string>

#include "module1/Module1.h"
#include "workbook/A1.h"

namespace vk::cells {

// Sheets, by position.
constexpr int kTestSheet = 1;      // conditions and readings
constexpr int kAnalysisSheet = 2;  // initial analysis and start thresholds
constexpr int kResultsSheet = 3;   // fit history, results, point tables

// Workbook-level defined names on the three sheets, so that they are found
// wherever the user moves their tabs. They only identify the sheets: cells
// are still those of this map, on the sheet the name is on.
struct SheetDefinedName {
  int sheet;
  const char* name;
  const char* what;  // the sheet, for messages
};
constexpr SheetDefinedName kSheetDefinedNames[] = {{kTestSheet, "VK_Test", "the test sheet"},
                                                   {kAnalysisSheet, "VK_InitialAnalysis", "the initial-analysis sheet"},
                                                   {kResultsSheet, "VK_Results", "the results sheet"}};

constexpr int kConditionColumn = 3;  // column C of sheet 1
constexpr int kNumPointsRow = 7;     // C7
constexpr int kNumSetsRow = 8;       // C8
constexpr int kWaterTempRow = 9;     // C9
constexpr int kBaroPressRow = 10;    // C10
constexpr int kTankVolumeRow = 11;   // C11
constexpr int kAirFlowRow = 12;      // C12

// The diffuser's submergence in feet, for a campaign's SSOTE. The program
// finds it only by this workbook-level defined name, never by an address:
// older workbooks may use the template's cell for something else.
constexpr const char* kDiffuserSubmergenceName = "DiffuserSubmergence";
constexpr int kSubmergenceTemplateRow = 13;  // where the template puts it: C13, beside its label

// What each condition cell holds, for messages ("water temperature").
inline const char* conditionName(int row) {
  switch (row) {
    case kNumPointsRow: return "readings per data set";
    case kNumSetsRow: return "data sets";
    case kWaterTempRow: return "water temperature";
    case kBaroPressRow: return "barometric pressure";
    case kTankVolumeRow: return "tank volume";
    case kAirFlowRow: return "air flow";
    default: return "a condition";
  }
}

// The readings table of sheet 1: one row per reading, the time in column G,
// probe s in column 7 + s.
constexpr int kTimeColumn = 7;
constexpr int readingRow(int reading) { return 6 + reading; }
constexpr int concColumn(int set) { return 7 + set; }

// Sheet 2: a block of six columns per set (A, G, M, S, Y, AE); the initial
// analysis on rows 7 to 22 (one per level), the start thresholds on row 45.
constexpr int kLevels = 16;
constexpr int analysisColumn(int set) { return 6 * (set - 1) + 1; }
constexpr int analysisRow(int level) { return 6 + level; }
constexpr int kThresholdRow = 45;

// Sheet 3: a block of seven columns per set (J, Q, X, AE, AL, AS).
constexpr int resultColumn(int set) { return 7 * (set - 1) + 10; }
constexpr int historyRow(int pass) { return 10 + pass; }
constexpr int kHistoryFirstRow = 11;
constexpr int kHistoryLastRow = historyRow(kMaxPasses);

// Per-set results, rows 25 to 35: column +1 at test conditions, +2 standard.
constexpr int testColumn(int set) { return resultColumn(set) + 1; }
constexpr int standardColumn(int set) { return resultColumn(set) + 2; }
constexpr int kResultsFirstRow = 25;
constexpr int kWaterTempResultRow = 25;     // +1: WaterTemp, +2: 20
constexpr int kBaroPressResultRow = 26;     // +1: BaroPress, +2: 29.92
constexpr int kCinfResultRow = 27;          // +1: Cinf, +2: CinfStd
constexpr int kKLaResultRow = 28;           // +1: KLaT, +2: KLa20
constexpr int kStdErrResultRow = 29;        // +1: StdErr
constexpr int kSOTRResultRow = 30;          // +2
constexpr int kSOTEResultRow = 31;          // +2
constexpr int kSatDepthResultRow = 32;      // +2
constexpr int kTauResultRow = 33;           // +2
constexpr int kOmegaResultRow = 34;         // +2
constexpr int kStartPercentResultRow = 35;  // +1
constexpr int kResultsLastRow = 35;

constexpr int kKeptCountRow = 43;  // column +1
constexpr int pointRow(int point) { return 44 + point; }
constexpr int kPointFirstRow = 45;
constexpr int kLastRow = 32767;  // rows are 16-bit integers

// Summary table: one row per set, averages on row 19.
constexpr int summaryRow(int set) { return 12 + set; }
constexpr int kAverageRow = 19;
constexpr int kSetNumberColumn = 1;  // A
constexpr int kKLa20Column = 2;      // B
constexpr int kCinfStdColumn = 3;    // C
constexpr int kSOTEColumn = 4;       // D
constexpr int kSOTRColumn = 5;       // E
constexpr int kSatDepthColumn = 6;   // F
constexpr int kStdErrColumn = 7;     // G
constexpr int kStdPressColumn = 8;   // H

// Ranges and cells addressed by A1 text.
inline std::string selectionCell() { return a1(1, 1); }  // "a1"
inline std::string analysisTableRange() {                // "a7:ai22"
  return a1Range(analysisRow(1), analysisColumn(1), analysisRow(kLevels), analysisColumn(6) + 4);
}
inline std::string thresholdCell(int set) { return a1(kThresholdRow, analysisColumn(set)); }
inline std::string historyRange(int lastRow) {  // "j11:aw20" or "j11:aw21"
  return a1Range(kHistoryFirstRow, resultColumn(1), lastRow, resultColumn(6) + 4);
}
inline std::string pointTableRange(int lastRow) {  // "j45:aw700" or "j45:aw32767"
  return a1Range(kPointFirstRow, resultColumn(1), lastRow, resultColumn(6) + 4);
}
inline std::string resultBlockRange(int set) {  // "k25:l35" ...
  return a1Range(kResultsFirstRow, testColumn(set), kResultsLastRow, standardColumn(set));
}
inline std::string summaryRange() {  // "a13:h18"
  return a1Range(summaryRow(1), kSetNumberColumn, summaryRow(6), kStdPressColumn);
}
inline std::string averageRange() {  // "b19:h19"
  return a1Range(kAverageRow, kKLa20Column, kAverageRow, kStdPressColumn);
}
inline std::string keptCountCell(int set) { return a1(kKeptCountRow, testColumn(set)); }  // "k43" ...

// The cells each sheet's defined name refers to: the conditions (C7:C12),
// the initial-analysis table (A7:AI22), the summary with its averages (A13:H19).
inline std::string definedNameRange(int sheet) {
  if (sheet == kTestSheet) return a1Range(kNumPointsRow, kConditionColumn, kAirFlowRow, kConditionColumn);
  if (sheet == kAnalysisSheet) return analysisTableRange();
  return a1Range(summaryRow(1), kSetNumberColumn, kAverageRow, kStdPressColumn);
}

}  // namespace vk::cells

#pragma once
// The shared state of the program: one instance lives for the whole run and
// is passed by reference to every command. Overwritten by later commands,
// never cleared; only "Start Over" releases the workbook references.

#include <memory>
#include <string>

#include "module1/Arrays.h"
#include "module1/Integer.h"
#include "module1/Variant.h"

namespace vk {

// A fit makes at most this many passes; the results sheet has one history
// row for each.
constexpr int kMaxPasses = 11;

class Workbook;
class WorkbookEngine;

struct Module1 {
  // The chosen workbook.
  std::string WorkbookPath;
  std::string WorkbookName;
  // The spreadsheet engine that binds a path to a workbook (the program's
  // "application"); FileBook reaches the application, DataBook the sheets.
  std::shared_ptr<WorkbookEngine> Engine;
  std::shared_ptr<Workbook> FileBook;
  std::shared_ptr<Workbook> DataBook;
  // True while a command runs (commands/CommitAfter.h): a command started
  // inside it joins it and leaves the commit to it.
  bool CommandUnderWay = false;

  // Test conditions.
  Integer NumPoints;
  Integer NumSets;
  float WaterTemp = 0;
  float BaroPress = 0;
  float TankVolume = 0;
  float AirFlow = 0;

  // Readings (set, reading): working copies trimmed in place, the copies as
  // read, and the model values and residuals of the last fit pass.
  ReadingArray<float> Conc{"the readings (Conc)"};
  ReadingArray<float> Times{"the reading times (Times)"};
  ReadingArray<float> ConcRaw{"the readings as read (ConcRaw)"};
  ReadingArray<float> TimesRaw{"the times as read (TimesRaw)"};
  ReadingArray<float> ConcFit{"the model values (ConcFit)"};
  ReadingArray<float> Resid{"the residuals (Resid)"};

  float StartPercent = 0;

  // ReDim of the six reading arrays (0 To sets, 0 To readings), all zero.
  void dimensionReadings(int sets, int readings) {
    for (auto* a : {&Conc, &Times, &Resid, &ConcRaw, &TimesRaw, &ConcFit}) a->redim(sets, readings);
  }

  // Per data set (index 1 to 6).
  SetArray<Variant> NumKept{"the kept readings per data set (NumKept)"};
  SetArray<float> TimeShift{"the time shift per data set (TimeShift)"};
  SetArray<float> C0{"the C0 estimates (C0)"};
  SetArray<float> Cinf{"the C-infinity estimates (Cinf)"};
  SetArray<float> KLa{"the KLa estimates (KLa)"};
  SetArray<Variant> SumSq{"the sums of squares (SumSq)"};
};

}  // namespace vk

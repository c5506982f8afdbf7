#include "report/ResultWriting.h"

#include "module1/Single.h"
#include "workbook/CellMap.h"

namespace vk {

namespace c = cells;

void CheckPointTableFits(const Module1& m, int set) {
  const int kept = m.NumKept[set].asInteger();
  if (c::pointRow(kept) > c::kLastRow)
    throw Fault(FaultKind::Overflow, "data set " + std::to_string(set) + " keeps " + std::to_string(kept) +
                                         " readings; its point table would pass row " + std::to_string(c::kLastRow) +
                                         " (at most " + std::to_string(c::kLastRow - c::pointRow(0)) +
                                         " readings per set)");
}

void WriteSetResults(Module1& m, Workbook& book, int set, const StandardFigures& f, const Variant& stdErr) {
  const int sheet = c::kResultsSheet;
  const int test = c::testColumn(set), standard = c::standardColumn(set);
  auto single = [](float v) { return Variant::single(v); };
  const float stdPress = toSingle(kStdPressure, Where{"the standard pressure", set});

  book.write(sheet, c::kWaterTempResultRow, test, single(m.WaterTemp));
  book.write(sheet, c::kBaroPressResultRow, test, single(m.BaroPress));
  book.write(sheet, c::kCinfResultRow, test, single(m.Cinf[set]));
  book.write(sheet, c::kKLaResultRow, test, single(f.KLaT));
  book.write(sheet, c::kStdErrResultRow, test, stdErr);
  book.write(sheet, c::kWaterTempResultRow, standard, single(kStdTemp));
  book.write(sheet, c::kBaroPressResultRow, standard, single(stdPress));
  book.write(sheet, c::kCinfResultRow, standard, single(f.CinfStd));
  book.write(sheet, c::kKLaResultRow, standard, single(f.KLa20));
  book.write(sheet, c::kSOTRResultRow, standard, f.SOTR);
  book.write(sheet, c::kSOTEResultRow, standard, f.SOTE);
  book.write(sheet, c::kSatDepthResultRow, standard, single(f.SatDepth));
  book.write(sheet, c::kTauResultRow, standard, single(f.Tau));
  book.write(sheet, c::kOmegaResultRow, standard, single(f.Omega));

  const int kept = m.NumKept[set].asInteger();
  const int first = c::resultColumn(set);
  for (int k = 1; k <= kept; ++k) {
    const int row = c::pointRow(k);
    book.write(sheet, row, first, Integer::checked(k));
    book.write(sheet, row, first + 1, single(m.Times(set, k)));
    book.write(sheet, row, first + 2, single(m.Conc(set, k)));
    book.write(sheet, row, first + 3, single(m.ConcFit(set, k)));
    book.write(sheet, row, first + 4, single(m.Resid(set, k)));
  }
  book.write(sheet, c::kKeptCountRow, test, m.NumKept[set]);

  const int row = c::summaryRow(set);
  book.write(sheet, row, c::kSetNumberColumn, Integer::checked(set));
  book.write(sheet, row, c::kKLa20Column, single(f.KLa20));
  book.write(sheet, row, c::kCinfStdColumn, single(f.CinfStd));
  book.write(sheet, row, c::kSOTEColumn, f.SOTE);
  book.write(sheet, row, c::kSOTRColumn, f.SOTR);
  book.write(sheet, row, c::kSatDepthColumn, single(f.SatDepth));
  book.write(sheet, row, c::kStdErrColumn, stdErr);
  book.write(sheet, row, c::kStdPressColumn, single(stdPress));
}

Averages WriteAverages(Workbook& book, const RunningSums& sums, Integer numSets) {
  const int sheet = c::kResultsSheet, row = c::kAverageRow;
  Averages a;
  a.KLa20 = sums.SumKLa20 / numSets;
  book.write(sheet, row, c::kKLa20Column, a.KLa20);
  a.CinfStd = sums.SumCinfStd / numSets;
  book.write(sheet, row, c::kCinfStdColumn, a.CinfStd);
  if (sums.SumSOTE.asDouble() > 0) {
    a.SOTE = sums.SumSOTE / numSets;
    book.write(sheet, row, c::kSOTEColumn, a.SOTE);
  }
  a.SOTR = sums.SumSOTR / numSets;
  book.write(sheet, row, c::kSOTRColumn, a.SOTR);
  a.SatDepth = sums.SumDepth / numSets;
  book.write(sheet, row, c::kSatDepthColumn, a.SatDepth);
  a.StdErr = sums.SumStdErr / numSets;
  book.write(sheet, row, c::kStdErrColumn, a.StdErr);
  a.StdPress = sums.SumStdPress / numSets;
  book.write(sheet, row, c::kStdPressColumn, a.StdPress);
  return a;
}

}  // namespace vk

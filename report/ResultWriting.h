#pragma once
// Writing the results of the Run command into sheet 3: the per-set block,
// the point table, the kept count and the summary row of each set, then the
// averages row.

#include "module1/Module1.h"
#include "report/Standardise.h"
#include "workbook/Workbook.h"

namespace vk {

// A fault, before anything of the set is written, when the set's point
// table would run past the last row a 16-bit row number reaches.
void CheckPointTableFits(const Module1& m, int set);

void WriteSetResults(Module1& m, Workbook& book, int set, const StandardFigures& figures, const Variant& stdErr);

struct Averages {
  Variant KLa20, CinfStd, SOTE, SOTR, SatDepth, StdErr, StdPress;  // Empty: not written
};
Averages WriteAverages(Workbook& book, const RunningSums& sums, Integer numSets);

}  // namespace vk

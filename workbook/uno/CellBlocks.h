#pragma once
// Cells are read from Calc for a block of rows of one column at a time, in a
// few calls instead of a few per cell: their kinds (CellKinds.h) and their
// numbers (CellValues.h) over the same blocks.

#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/uno/Sequence.hxx>

#include <algorithm>
#include <cstddef>

#include "workbook/A1.h"

namespace vk {

constexpr int kCellBlockRows = 1024;

// The first row (1-based) of the block that holds `row`.
inline int cellBlockStart(int row) { return (row - 1) / kCellBlockRows * kCellBlockRows + 1; }
// The rows of the block from `firstRow`, the sheet's last row being the limit.
inline int cellBlockRows(int firstRow) { return std::min(firstRow + kCellBlockRows - 1, kMaxRows) - firstRow + 1; }

// Calls `mark(at)` for every row of the ranges within the block of `rows`
// rows from `firstRow` (1-based); `at` counts from 0 in the block.
template <class Mark>
void forEachRow(const css::uno::Sequence<css::table::CellRangeAddress>& ranges, int firstRow, int rows, Mark mark) {
  for (const auto& r : ranges) {
    const int from = std::max(int(r.StartRow) + 1 - firstRow, 0), to = std::min(int(r.EndRow) + 1 - firstRow, rows - 1);
    for (int at = from; at <= to; ++at) mark(std::size_t(at));
  }
}

}  // namespace vk

#pragma once
// The writes of a command waiting to go to one sheet. They leave as blocks:
// rectangles in which every cell was written, so that writing a block as a
// whole changes no cell the command did not write.

#include <map>
#include <utility>
#include <vector>

#include "module1/Variant.h"
#include "workbook/A1.h"

namespace vk {

struct WriteBlock {
  int firstRow = 0;
  int firstColumn = 0;
  int rows = 0;
  int columns = 0;
  std::vector<Variant> values;  // row by row
  const Variant& at(int row, int column) const { return values[size_t(row) * size_t(columns) + size_t(column)]; }
};

class WriteBuffer {
 public:
  // A later write of the same cell replaces the earlier one.
  void put(int row, int column, const Variant& value);
  // Cells about to be cleared need not be written first.
  void discard(const CellRange& range);
  bool empty() const { return cells_.empty(); }
  size_t size() const { return cells_.size(); }
  // Every waiting write, as few blocks as runs of cells allow: a run is a
  // row's stretch of adjacent written cells; runs with the same columns on
  // consecutive rows make one block. The buffer is empty afterwards.
  std::vector<WriteBlock> takeBlocks();

 private:
  std::map<std::pair<int, int>, Variant> cells_;  // (row, column) -> value
};

}  // namespace vk

#pragma once
// Reads the cells of a saved workbook straight from its file, without the
// program's engine: the stored text of every cell's value, by (row, column).
// The end-to-end tests compare it with what the commands wrote.

#include <map>
#include <string>
#include <utility>

namespace vk::test {

struct StoredCell {
  std::string type;   // the t attribute ("" for a number)
  std::string value;  // the text of <v>, or of <is><t> for an inline string
  bool formula = false;
};

using StoredCells = std::map<std::pair<int, int>, StoredCell>;

// The cells of the sheet at `position` (1 is the first) that hold a value.
StoredCells readStoredCells(const std::string& file, int position);

// The same cells holding the same values of the same types (formulas aside).
bool sameCells(const StoredCells& a, const StoredCells& b);

}  // namespace vk::test

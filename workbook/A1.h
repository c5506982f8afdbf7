#pragma once
// A1 addresses: column letters, cells and ranges, as the template's cell map
// writes them (lower case).

#include <string>
#include <string_view>

namespace vk {

struct CellRange {
  int firstRow = 0;
  int firstColumn = 0;
  int lastRow = 0;
  int lastColumn = 0;
  bool contains(int row, int column) const {
    return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
  }
};

std::string columnLetters(int column);            // 1 -> "a", 27 -> "aa"
std::string a1(int row, int column);              // (45, 1) -> "a45"
std::string a1Upper(int row, int column);         // (45, 1) -> "A45", for messages
std::string a1Range(int firstRow, int firstColumn, int lastRow, int lastColumn);  // "j11:aw21"

// Parses "k43" or "j45:aw700" (either case, optional "$"); throws a Workbook
// fault naming the text when it is not an address.
CellRange parseA1(std::string_view text);

}  // namespace vk

#include "workbook/xlsx/sheet/CellRef.h"

#include <charconv>

#include "workbook/A1.h"

namespace vk::xlsx {

bool parseCellRef(std::string_view text, int& row, int& column) {
  std::size_t pos = 0;
  column = readColumnLetters(text, pos);
  row = column == 0 ? 0 : readRowDigits(text, pos);
  return row != 0 && pos == text.size();
}

void appendCellRef(std::string& out, int row, int column) {
  appendColumnLetters(out, column);
  char digits[12];
  auto end = std::to_chars(digits, digits + sizeof digits, row).ptr;
  out.append(digits, end);
}

std::string cellRef(int row, int column) {
  std::string s;
  appendCellRef(s, row, column);
  return s;
}

void appendNumber(std::string& out, double value) {
  char buffer[32];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  out.append(buffer, end);
}

}  // namespace vk::xlsx

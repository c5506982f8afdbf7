#include "workbook/A1.h"

#include "module1/Fault.h"
#include "workbook/Ascii.h"

namespace vk {

namespace {

[[noreturn]] void badAddress(std::string_view text) {
  throw Fault(FaultKind::Workbook, "\"" + std::string(text) + "\" is not a cell or range address");
}

// Parses one cell reference at text[pos...], advancing pos.
void parseCell(std::string_view text, size_t& pos, int& row, int& column) {
  if (pos < text.size() && text[pos] == '$') ++pos;
  column = readColumnLetters(text, pos);
  if (column == 0) badAddress(text);
  if (pos < text.size() && text[pos] == '$') ++pos;
  row = readRowDigits(text, pos);
  if (row == 0) badAddress(text);
}

}  // namespace

std::string columnLetters(int column) {
  std::string letters;
  appendColumnLetters(letters, column);
  return asciiLowerCase(letters);
}

std::string a1(int row, int column) { return columnLetters(column) + std::to_string(row); }

std::string a1Upper(int row, int column) { return asciiUpperCase(a1(row, column)); }

std::string a1Range(int firstRow, int firstColumn, int lastRow, int lastColumn) {
  return a1(firstRow, firstColumn) + ":" + a1(lastRow, lastColumn);
}

CellRange parseA1(std::string_view text) {
  CellRange range;
  size_t pos = 0;
  parseCell(text, pos, range.firstRow, range.firstColumn);
  range.lastRow = range.firstRow;
  range.lastColumn = range.firstColumn;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    parseCell(text, pos, range.lastRow, range.lastColumn);
  }
  if (pos != text.size()) badAddress(text);
  if (range.lastRow < range.firstRow) std::swap(range.lastRow, range.firstRow);
  if (range.lastColumn < range.firstColumn) std::swap(range.lastColumn, range.firstColumn);
  return range;
}

}  // namespace vk

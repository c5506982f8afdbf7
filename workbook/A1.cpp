#include "workbook/A1.h"

#include <cctype>

#include "module1/Fault.h"
#include "workbook/Ascii.h"

namespace vk {

namespace {

constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;

[[noreturn]] void badAddress(std::string_view text) {
  throw Fault(FaultKind::Workbook, "\"" + std::string(text) + "\" is not a cell or range address");
}

// Parses one cell reference at text[pos...], advancing pos.
void parseCell(std::string_view text, size_t& pos, int& row, int& column) {
  if (pos < text.size() && text[pos] == '$') ++pos;
  column = 0;
  size_t letters = 0;
  while (pos < text.size() && std::isalpha(static_cast<unsigned char>(text[pos]))) {
    column = column * 26 + (std::tolower(static_cast<unsigned char>(text[pos])) - 'a' + 1);
    if (++letters > 3) badAddress(text);
    ++pos;
  }
  if (pos < text.size() && text[pos] == '$') ++pos;
  row = 0;
  size_t digits = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    row = row * 10 + (text[pos] - '0');
    if (++digits > 7) badAddress(text);
    ++pos;
  }
  if (letters == 0 || digits == 0 || row < 1 || row > kMaxRow || column > kMaxColumn) badAddress(text);
}

}  // namespace

std::string columnLetters(int column) {
  std::string letters;
  while (column > 0) {
    int rest = (column - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('a' + rest));
    column = (column - 1) / 26;
  }
  return letters;
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

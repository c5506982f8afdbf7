#include "workbook/xlsx/sheet/CellRef.h"

#include <charconv>

namespace vk::xlsx {

namespace {

// Reads the letters at text[pos...]; 0 when there are none or too many.
int readColumn(std::string_view text, std::size_t& pos) {
  int column = 0;
  std::size_t begin = pos;
  while (pos < text.size()) {
    char c = text[pos];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') break;
    column = column * 26 + (c - 'A' + 1);
    if (++pos - begin > 3) return 0;
  }
  return column <= kMaxColumns ? column : 0;
}

}  // namespace

bool parseCellRef(std::string_view text, int& row, int& column) {
  std::size_t pos = 0;
  column = readColumn(text, pos);
  if (column == 0 || pos == text.size() || pos + 7 < text.size()) return false;
  row = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c < '0' || c > '9') return false;
    row = row * 10 + (c - '0');
  }
  return row >= 1 && row <= kMaxRows;
}

bool parseColumnRef(std::string_view text, int& column) {
  std::size_t pos = 0;
  column = readColumn(text, pos);
  return column != 0;
}

void appendCellRef(std::string& out, int row, int column) {
  char letters[4];
  int n = 0;
  while (column > 0) {
    letters[n++] = char('A' + (column - 1) % 26);
    column = (column - 1) / 26;
  }
  while (n > 0) out += letters[--n];
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

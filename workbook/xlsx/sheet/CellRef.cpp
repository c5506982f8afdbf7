#include "workbook/xlsx/sheet/CellRef.h"

#include <charconv>
#include <cstring>

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

void appendInteger(std::string& out, std::int64_t value) {
  char digits[24];
  auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

void appendNumberCell(std::string& out, int row, int column, std::uint32_t style, double value) {
  // The longest: 7 letters, 10 digits of row and of format, 24 characters of
  // a double, 24 of markup.
  char text[96];
  char* p = text;
  auto put = [&](std::string_view piece) {
    std::memcpy(p, piece.data(), piece.size());
    p += piece.size();
  };
  auto putNumber = [&](auto number) {
    char digits[32];
    put(std::string_view(digits, std::size_t(std::to_chars(digits, digits + sizeof digits, number).ptr - digits)));
  };
  put("<c r=\"");
  char letters[7];
  std::size_t n = 0;
  for (; column > 0 && n < sizeof letters; column = (column - 1) / 26) letters[n++] = char('A' + (column - 1) % 26);
  while (n > 0) *p++ = letters[--n];
  putNumber(row);
  put("\"");
  if (style) {
    put(" s=\"");
    putNumber(style - 1);
    put("\"");
  }
  put("><v>");
  putNumber(value);
  put("</v></c>");
  out.append(text, p);
}

}  // namespace vk::xlsx

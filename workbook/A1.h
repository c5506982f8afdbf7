#pragma once
// A1 addresses: the size of a sheet, column letters and row numbers, cells
// and ranges. The template's cell map writes them in lower case, worksheet
// parts in upper case; both are read in either.

#include <cstddef>
#include <string>
#include <string_view>

#include "workbook/Ascii.h"

namespace vk {

// The largest sheet a workbook holds.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// The column letters at text[pos...], either case ("AW" -> 49); pos moves
// past what was read. 0 when there are none, more than three, or the column
// is past the last one.
inline int readColumnLetters(std::string_view text, std::size_t& pos) {
  int column = 0;
  for (std::size_t letters = 0; pos < text.size(); ++pos) {
    const char c = asciiUpper(text[pos]);
    if (c < 'A' || c > 'Z') break;
    if (++letters > 3) return 0;
    column = column * 26 + (c - 'A' + 1);
  }
  return column <= kMaxColumns ? column : 0;
}

// The row number written at text[pos...] ("32767"); pos moves past what was
// read. 0 when there are no digits, more than seven, or the row is outside
// the sheet.
inline int readRowDigits(std::string_view text, std::size_t& pos) {
  int row = 0;
  for (std::size_t digits = 0; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    if (++digits > 7) return 0;
    row = row * 10 + (text[pos] - '0');
  }
  return row <= kMaxRows ? row : 0;
}

// Appends the column's letters in upper case (49 -> "AW").
inline void appendColumnLetters(std::string& out, int column) {
  char letters[7];  // enough for any int
  int n = 0;
  for (; column > 0; column = (column - 1) / 26) letters[n++] = char('A' + (column - 1) % 26);
  while (n > 0) out += letters[--n];
}

struct CellRange {
  int firstRow = 0;
  int firstColumn = 0;
  int lastRow = 0;
  int lastColumn = 0;
  bool contains(int row, int column) const {
    return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
  }
};

std::string columnLetters(int column);                                            // 1 -> "a", 27 -> "aa"
std::string a1(int row, int column);                                              // (45, 1) -> "a45"
std::string a1Upper(int row, int column);                                         // (45, 1) -> "A45", for messages
std::string a1Range(int firstRow, int firstColumn, int lastRow, int lastColumn);  // "j11:aw21"

// Parses "k43" or "j45:aw700" (either case, optional "$"); throws a Workbook
// fault naming the text when it is not an address.
CellRange parseA1(std::string_view text);

}  // namespace vk

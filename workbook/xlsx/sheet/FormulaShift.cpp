#include "workbook/xlsx/sheet/FormulaShift.h"

#include <cctype>

#include "workbook/A1.h"

namespace vk::xlsx {

namespace {

bool isWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '.' || c == '\\' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// One part of a reference: optional "$", then letters and/or digits.
struct RefPart {
  bool absoluteColumn = false, absoluteRow = false;
  int column = 0, row = 0;  // 0 when the part has none
};

// "$A$1", "A1", "$A", "12" ...; false when the word is not such a part.
bool parseRefPart(std::string_view word, RefPart& part) {
  std::size_t i = 0;
  if (i < word.size() && word[i] == '$') part.absoluteColumn = true, ++i;
  std::size_t letters = i;
  while (i < word.size() && std::isalpha(static_cast<unsigned char>(word[i]))) ++i;
  std::string_view columnText = word.substr(letters, i - letters);
  if (columnText.empty()) {
    // A row only: the "$" read belongs to the row.
    part.absoluteRow = part.absoluteColumn;
    part.absoluteColumn = false;
  } else if (i < word.size() && word[i] == '$') {
    part.absoluteRow = true, ++i;
  }
  std::string_view rowText = word.substr(i);
  if (columnText.empty() && rowText.empty()) return false;
  if (!columnText.empty()) {
    std::size_t end = 0;
    part.column = readColumnLetters(columnText, end);
    if (part.column == 0 || end != columnText.size()) return false;
  }
  if (!rowText.empty()) {
    std::size_t end = 0;
    part.row = readRowDigits(rowText, end);
    if (part.row == 0 || end != rowText.size()) return false;
  }
  return true;
}

// Appends the moved part; false when it leaves the sheet.
bool appendShifted(std::string& out, const RefPart& part, int rows, int columns) {
  if (part.column) {
    int column = part.absoluteColumn ? part.column : part.column + columns;
    if (column < 1 || column > kMaxColumns) return false;
    if (part.absoluteColumn) out += '$';
    appendColumnLetters(out, column);
  }
  if (part.row) {
    int row = part.absoluteRow ? part.row : part.row + rows;
    if (row < 1 || row > kMaxRows) return false;
    if (part.absoluteRow) out += '$';
    out += std::to_string(row);
  }
  return true;
}

}  // namespace

std::string shiftFormula(std::string_view f, int rows, int columns) {
  std::string out;
  std::size_t i = 0;
  while (i < f.size()) {
    char c = f[i];
    if (c == '"' || c == '\'') {  // a text, or a quoted sheet name: as it is
      std::size_t end = i + 1;
      while (end < f.size()) {
        if (f[end] == c && end + 1 < f.size() && f[end + 1] == c) {
          end += 2;
        } else if (f[end] == c) {
          ++end;
          break;
        } else {
          ++end;
        }
      }
      out += f.substr(i, end - i);
      i = end;
      continue;
    }
    if (c == '[') {  // a structured reference or an external book: as it is
      int depth = 0;
      std::size_t end = i;
      do {
        if (f[end] == '[') ++depth;
        if (f[end] == ']') --depth;
        ++end;
      } while (end < f.size() && depth > 0);
      out += f.substr(i, end - i);
      i = end;
      continue;
    }
    if (!isWordChar(c)) {
      out += c;
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < f.size() && isWordChar(f[end])) ++end;
    std::string_view word = f.substr(i, end - i);
    char next = end < f.size() ? f[end] : '\0';
    RefPart first;
    // A function name, a sheet name, a number and a name stay as they are.
    bool numberLike = std::isdigit(static_cast<unsigned char>(c)) && next != ':' && (i == 0 || f[i - 1] != ':');
    if (next == '(' || next == '!' || numberLike || !parseRefPart(word, first) ||
        (first.column && !first.row && next != ':' && (i == 0 || f[i - 1] != ':'))) {
      out += word;
      i = end;
      continue;
    }
    std::string moved;
    if (!appendShifted(moved, first, rows, columns)) {
      out += "#REF!";
    } else {
      out += moved;
    }
    i = end;
  }
  return out;
}

}  // namespace vk::xlsx

#include "workbook/xlsx/sheet/SheetReference.h"

namespace vk::xlsx {

namespace {

// One end of a range at text[pos...]: column letters, row digits or both,
// each with an optional "$"; 0 for a part that is not there.
bool readEnd(std::string_view text, std::size_t& pos, int& row, int& column) {
  if (pos < text.size() && text[pos] == '$') ++pos;
  column = readColumnLetters(text, pos);
  if (pos < text.size() && text[pos] == '$') ++pos;
  row = readRowDigits(text, pos);
  return row > 0 || column > 0;
}

std::optional<CellRange> parseRange(std::string_view text) {
  std::size_t pos = 0;
  int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
  if (!readEnd(text, pos, firstRow, firstColumn)) return std::nullopt;
  lastRow = firstRow;
  lastColumn = firstColumn;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!readEnd(text, pos, lastRow, lastColumn)) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  // A single cell needs both; whole columns or rows need the same kind at both ends.
  const bool cells = firstRow > 0 && firstColumn > 0 && lastRow > 0 && lastColumn > 0;
  const bool columns = firstRow == 0 && lastRow == 0 && firstColumn > 0 && lastColumn > 0;
  const bool rows = firstColumn == 0 && lastColumn == 0 && firstRow > 0 && lastRow > 0;
  if (!cells && !columns && !rows) return std::nullopt;
  if (columns) firstRow = 1, lastRow = kMaxRows;
  if (rows) firstColumn = 1, lastColumn = kMaxColumns;
  if (lastRow < firstRow || lastColumn < firstColumn) return std::nullopt;
  return CellRange{firstRow, firstColumn, lastRow, lastColumn};
}

bool isPlainNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
         (static_cast<unsigned char>(c) >= 0x80);  // letters of other scripts, in UTF-8
}

}  // namespace

std::optional<SheetReference> parseSheetReference(std::string_view text) {
  if (!text.empty() && text.front() == '=') text.remove_prefix(1);
  SheetReference reference;
  std::size_t pos = 0;
  if (!text.empty() && text.front() == '\'') {
    // Quoted: a quote inside is doubled.
    for (pos = 1;; ++pos) {
      if (pos >= text.size()) return std::nullopt;
      if (text[pos] == '\'') {
        if (pos + 1 < text.size() && text[pos + 1] == '\'') {
          reference.sheetName += '\'';
          ++pos;
          continue;
        }
        ++pos;
        break;
      }
      reference.sheetName += text[pos];
    }
  } else {
    while (pos < text.size() && isPlainNameCharacter(text[pos])) reference.sheetName += text[pos++];
  }
  // A sheet name never holds ":" (a range over sheets) nor "[" (another workbook).
  if (reference.sheetName.empty() || pos >= text.size() || text[pos] != '!' ||
      reference.sheetName.find_first_of(":[]") != std::string::npos)
    return std::nullopt;
  auto range = parseRange(text.substr(pos + 1));
  if (!range) return std::nullopt;
  reference.range = *range;
  return reference;
}

}  // namespace vk::xlsx

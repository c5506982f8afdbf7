#pragma once
// Cell references and numbers as a worksheet part writes them.

#include <cstdint>
#include <string>
#include <string_view>

namespace vk::xlsx {

// "AW32767" -> (32767, 49); false when the text is not a plain reference
// inside the sheet.
bool parseCellRef(std::string_view text, int& row, int& column);
// Appends "AW32767".
void appendCellRef(std::string& out, int row, int column);
std::string cellRef(int row, int column);
// Appends the shortest text that reads back as the same double.
void appendNumber(std::string& out, double value);
// Appends a whole number (a row, a format index) in decimal.
void appendInteger(std::string& out, std::int64_t value);
// Appends a number cell of no other attribute than its format (index + 1,
// 0 for none) and no namespace prefix, "<c r="K12" s="3"><v>0.25</v></c>",
// made in one piece: most of a results sheet is such cells.
void appendNumberCell(std::string& out, int row, int column, std::uint32_t style, double value);

}  // namespace vk::xlsx

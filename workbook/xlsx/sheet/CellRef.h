#pragma once
// Cell references and numbers as a worksheet part writes them.

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

}  // namespace vk::xlsx

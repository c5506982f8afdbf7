#pragma once
// Reading a number out of a cell's text, shared by the engines.

#include <optional>
#include <string>
#include <string_view>

namespace vk {

// "sheet 1, cell C9", for messages.
std::string cellName(int sheet, int row, int column);

// The number a text reads as (blanks around it allowed), if it is one.
std::optional<double> parseNumber(std::string_view text);

// The number a text cell reads as; otherwise a "type mismatch" fault naming
// the cell and quoting the text.
double numberFromText(std::string_view text, int sheet, int row, int column);

}  // namespace vk

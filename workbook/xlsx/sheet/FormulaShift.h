#pragma once
// Moving a formula to another cell, as a shared formula is read in each of
// the cells that share it: relative references move with it, absolute ones
// ($A$1) stay.

#include <string>
#include <string_view>

namespace vk::xlsx {

// The formula as it reads `rows` rows down and `columns` columns right of the
// cell it was written for. A reference moved off the sheet becomes #REF!.
std::string shiftFormula(std::string_view formula, int rows, int columns);

}  // namespace vk::xlsx

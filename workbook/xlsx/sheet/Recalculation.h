#pragma once
// Which formulas must be recalculated when cells were written: every formula
// on a written sheet, and those elsewhere that may reach one.

#include <string>
#include <string_view>
#include <vector>

namespace vk::xlsx {

// True when a formula may depend on cells of another sheet: it names a sheet
// ("Results!B19"), a table, a defined name, or builds a reference from text.
bool mayReferElsewhere(std::string_view formula, const std::vector<std::string>& definedNames);

}  // namespace vk::xlsx

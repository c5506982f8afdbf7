#pragma once
// Cells of the CSV files: numbers in the shortest form that reads back (an
// empty cell for one that cannot be given), text quoted when it must be.

#include <cmath>
#include <string>

#include "module1/NumberText.h"

namespace vk::exporter {

inline std::string numberCell(double v) { return std::isfinite(v) ? numberText(v) : std::string(); }

// Quoted when it holds a separator, a quote or a line break.
inline std::string textCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace vk::exporter

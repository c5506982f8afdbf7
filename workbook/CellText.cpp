#include "workbook/CellText.h"

#include <charconv>
#include <cmath>

#include "module1/Fault.h"
#include "workbook/A1.h"

namespace vk {

std::string cellName(int sheet, int row, int column) {
  return "sheet " + std::to_string(sheet) + ", cell " + a1Upper(row, column);
}

std::optional<double> parseNumber(std::string_view text) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

double numberFromText(std::string_view text, int sheet, int row, int column) {
  if (auto number = parseNumber(text)) return *number;
  std::string shown(text.substr(0, 40));
  if (text.size() > 40) shown += "...";
  throw Fault(FaultKind::TypeMismatch,
              cellName(sheet, row, column) + " holds the text \"" + shown + "\", which is not a number");
}

}  // namespace vk

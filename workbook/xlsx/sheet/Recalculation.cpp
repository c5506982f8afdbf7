#include "workbook/xlsx/sheet/Recalculation.h"

#include "workbook/Ascii.h"

namespace vk::xlsx {

namespace {

bool isNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
         c == '\\' || (static_cast<unsigned char>(c) >= 0x80);
}

// Whether `word` occurs in `text` (upper case) as a whole name.
bool containsName(const std::string& text, const std::string& word) {
  if (word.empty()) return false;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    bool startsName = at == 0 || !isNameChar(text[at - 1]);
    bool endsName = at + word.size() >= text.size() || !isNameChar(text[at + word.size()]);
    if (startsName && endsName) return true;
  }
  return false;
}

}  // namespace

bool mayReferElsewhere(std::string_view formula, const std::vector<std::string>& definedNames) {
  if (formula.find('!') != std::string_view::npos || formula.find('[') != std::string_view::npos) return true;
  std::string text = asciiUpperCase(formula);
  if (containsName(text, "INDIRECT")) return true;
  for (const std::string& name : definedNames) {
    // "_xlnm.Print_Area" and the like never stand in a formula.
    if (containsName(text, asciiUpperCase(name))) return true;
  }
  return false;
}

}  // namespace vk::xlsx

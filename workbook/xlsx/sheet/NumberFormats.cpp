#include "workbook/xlsx/sheet/NumberFormats.h"

#include <charconv>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "workbook/Ascii.h"
#include "workbook/xlsx/xml/Dom.h"

namespace vk::xlsx {

namespace {

// The built-in number formats that show dates and times: 14 to 17 dates, 18
// to 21 times, 22 both, 45 to 47 minutes and seconds.
bool isBuiltInDateTime(std::uint32_t id) { return (id >= 14 && id <= 22) || (id >= 45 && id <= 47); }

std::uint32_t number(const char* text) {
  std::uint32_t value = 0;
  std::string_view s(text);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() ? value : 0;
}

// A bracketed part of a format code that is an elapsed time: [h], [mm], [ss].
bool isElapsedTime(std::string_view inside) {
  if (inside.empty()) return false;
  const char unit = asciiLower(inside[0]);
  if (unit != 'h' && unit != 'm' && unit != 's') return false;
  for (char c : inside)
    if (asciiLower(c) != unit) return false;
  return true;
}

}  // namespace

bool isDateTimeFormatCode(std::string_view code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '"') {  // literal text
      const std::size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {  // an escaped, padding or fill character
      ++i;
    } else if (c == '[') {  // a colour, a condition, a locale, or an elapsed time
      const std::size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) return false;
      if (isElapsedTime(code.substr(i + 1, close - i - 1))) return true;
      i = close;
    } else {
      const char lower = asciiLower(c);
      if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's') return true;
    }
  }
  return false;
}

NumberFormats::NumberFormats(std::string_view stylesXml, std::string_view where, const Limits& limits) {
  pugi::xml_document doc;
  parseTree(doc, stylesXml, where, limits.maxTreeSize);
  const pugi::xml_node root = doc.document_element();
  std::map<std::uint32_t, bool> custom;
  for (pugi::xml_node f = child(child(root, "numFmts"), "numFmt"); f; f = f.next_sibling())
    if (f.type() == pugi::node_element && nodeLocalName(f) == "numFmt")
      custom[number(attribute(f, "numFmtId").value())] = isDateTimeFormatCode(attribute(f, "formatCode").value());
  for (pugi::xml_node xf = child(child(root, "cellXfs"), "xf"); xf; xf = xf.next_sibling()) {
    if (xf.type() != pugi::node_element || nodeLocalName(xf) != "xf") continue;
    const std::uint32_t id = number(attribute(xf, "numFmtId").value());
    auto it = custom.find(id);
    dateTime_.push_back(it != custom.end() ? it->second : isBuiltInDateTime(id));
  }
}

}  // namespace vk::xlsx

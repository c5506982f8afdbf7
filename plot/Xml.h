#pragma once
// Writes the SVG's XML into a string: elements, attributes and text, escaped,
// with numbers in the locale-free forms of Numbers.h.

#include <string>
#include <string_view>

namespace vk::plot {

// Text made safe for XML content and double-quoted attributes. Control
// characters, which XML 1.0 forbids, become spaces.
std::string escaped(std::string_view text);

class Xml {
 public:
  // "<tag"; attributes follow, then selfClose() or body().
  Xml& open(std::string_view tag);
  Xml& attr(std::string_view name, std::string_view value);
  Xml& attr(std::string_view name, const char* value) { return attr(name, std::string_view(value)); }
  Xml& attr(std::string_view name, const std::string& value) { return attr(name, std::string_view(value)); }
  // A coordinate, to a tenth of a unit.
  Xml& attr(std::string_view name, double value);
  Xml& selfClose();  // "/>"
  Xml& body();       // ">"
  Xml& text(std::string_view content);
  Xml& close(std::string_view tag);  // "</tag>"
  // <tag>text</tag>, e.g. a <title>.
  Xml& element(std::string_view tag, std::string_view content);
  Xml& newline();

  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

}  // namespace vk::plot

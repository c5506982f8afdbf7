#include "plot/Xml.h"

#include "plot/Numbers.h"

namespace vk::plot {

std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\t':
      case '\n':
      case '\r': out += c; break;
      default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

Xml& Xml::open(std::string_view tag) {
  out_ += '<';
  out_ += tag;
  return *this;
}

Xml& Xml::attr(std::string_view name, std::string_view value) {
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  out_ += escaped(value);
  out_ += '"';
  return *this;
}

Xml& Xml::attr(std::string_view name, double value) { return attr(name, coordinate(value)); }

Xml& Xml::selfClose() {
  out_ += "/>";
  return *this;
}

Xml& Xml::body() {
  out_ += '>';
  return *this;
}

Xml& Xml::text(std::string_view content) {
  out_ += escaped(content);
  return *this;
}

Xml& Xml::close(std::string_view tag) {
  out_ += "</";
  out_ += tag;
  out_ += '>';
  return *this;
}

Xml& Xml::element(std::string_view tag, std::string_view content) { return open(tag).body().text(content).close(tag); }

Xml& Xml::newline() {
  out_ += '\n';
  return *this;
}

}  // namespace vk::plot

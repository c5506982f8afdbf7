#include "workbook/xlsx/sheet/CellContent.h"

#include <charconv>
#include <cstring>

#include "workbook/Ascii.h"
#include "workbook/xlsx/xml/Utf8.h"

namespace vk::xlsx {

namespace {

// The UTF-16 code unit escaped as _xHHHH_ at text[at], or -1 when there is
// no such escape.
long escapedUnitAt(const std::string& text, std::size_t at) {
  if (at + 6 >= text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') return -1;
  long unit = 0;
  for (std::size_t k = 2; k < 6; ++k) {
    const int digit = hexDigitValue(text[at + k]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

bool isHighSurrogate(long unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(long unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

void decodeEscapedCharacters(std::string& text) {
  if (text.find("_x") == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const long unit = escapedUnitAt(text, i);
    if (isHighSurrogate(unit)) {
      // A character past U+FFFF is escaped as its two halves.
      const long low = escapedUnitAt(text, i + 7);
      if (isLowSurrogate(low)) {
        appendUtf8(out, char32_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
        i += 14;
        continue;
      }
    } else if (unit > 0 && !isLowSurrogate(unit)) {
      appendUtf8(out, char32_t(unit));
      i += 7;
      continue;
    }
    out += text[i++];  // not an escape, or a half without its partner: as written
  }
  text = std::move(out);
}

void appendStringItem(XmlScanner& scanner, std::string& out) {
  if (scanner.selfClosing()) return;
  const std::size_t depth = scanner.depth();
  for (;;) {
    XmlScanner::Token token = scanner.next();
    if (token == XmlScanner::Token::Done) scanner.fail("a string that is not closed");
    if (token == XmlScanner::Token::End && scanner.depth() == depth - 1) return;
    if (token != XmlScanner::Token::Start) continue;
    std::string_view local = localName(scanner.name());
    if (local == "t") {
      std::string piece;
      scanner.appendTextContent(piece);
      decodeEscapedCharacters(piece);
      out += piece;
    } else if (!(local == "r" && scanner.depth() == depth + 1)) {
      scanner.skipElement();  // formatting, phonetic readings
    }
  }
}

std::optional<PlainCell> readPlainCell(std::string_view xml) {
  // One pass, as every reading is read this way; what it does not take in
  // (anything the scanner would read otherwise) is left to readCellContent.
  const char* p = xml.data();
  const char* const end = p + xml.size();
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  auto skipBlanks = [&] {
    while (p < end && isBlank(*p)) ++p;
  };
  if (xml.size() < 4 || *p++ != '<') return std::nullopt;
  const char* const name = p;
  while (p < end && isNameChar(*p)) ++p;
  const std::string_view qname(name, std::size_t(p - name)), prefix = namePrefix(qname);
  if (localName(qname) != "c") return std::nullopt;
  PlainCell cell;
  for (;;) {
    const bool separated = p < end && isBlank(*p);
    skipBlanks();
    if (p == end) return std::nullopt;
    if (*p == '>') break;
    if (*p == '/') return p + 2 == end && p[1] == '>' ? std::optional<PlainCell>(cell) : std::nullopt;
    const char* const attribute = p;
    while (p < end && isNameChar(*p)) ++p;
    const std::string_view attributeName(attribute, std::size_t(p - attribute));
    skipBlanks();
    if (!separated || attributeName.empty() || p == end || *p++ != '=') return std::nullopt;
    skipBlanks();
    if (p == end || (*p != '"' && *p != '\'')) return std::nullopt;
    const char quote = *p++;
    const char* const close = static_cast<const char*>(std::memchr(p, quote, std::size_t(end - p)));
    if (!close) return std::nullopt;
    const std::string_view value(p, std::size_t(close - p));
    if (value.find('<') != std::string_view::npos) return std::nullopt;
    p = close + 1;
    const std::string_view local = localName(attributeName);
    if (local == "t") cell.type = value;
    if (local == "s") std::from_chars(value.data(), value.data() + value.size(), cell.style);
  }
  ++p;  // past the start tag's ">"
  // "<" or "</", the prefix, the local name and ">": passed when it is there.
  auto tag = [&](bool closing, char local) {
    const std::size_t size = (closing ? 3 : 2) + prefix.size() + 1;
    if (std::size_t(end - p) < size || p[0] != '<' || (closing && p[1] != '/')) return false;
    const char* at = p + (closing ? 2 : 1);
    if (!prefix.empty() && std::string_view(at, prefix.size()) != prefix) return false;
    at += prefix.size();
    if (at[0] != local || at[1] != '>') return false;
    p = at + 2;
    return true;
  };
  skipBlanks();
  if (tag(false, 'v')) {
    const char* const valueEnd = static_cast<const char*>(std::memchr(p, '<', std::size_t(end - p)));
    if (!valueEnd || std::memchr(p, '&', std::size_t(valueEnd - p))) return std::nullopt;
    cell.hasValue = true;
    cell.value = std::string_view(p, std::size_t(valueEnd - p));
    p = valueEnd;
    if (!tag(true, 'v')) return std::nullopt;
    skipBlanks();
  }
  if (!tag(true, 'c') || p != end) return std::nullopt;
  return cell;
}

CellContent readCellContent(std::string_view cellXml, std::string_view where, std::size_t maxDepth) {
  CellContent content;
  XmlScanner scanner(cellXml, where, maxDepth);
  XmlScanner::Token token;
  while ((token = scanner.next()) == XmlScanner::Token::Text) {
  }
  if (token != XmlScanner::Token::Start || localName(scanner.name()) != "c")
    scanner.fail("a cell that is not a <c> element");
  std::string_view type;
  if (findAttribute(scanner.attributes(), "t", type)) content.type = std::string(type);
  std::string_view style;
  if (findAttribute(scanner.attributes(), "s", style))
    std::from_chars(style.data(), style.data() + style.size(), content.style);
  if (scanner.selfClosing()) return content;
  const std::size_t depth = scanner.depth();
  for (;;) {
    token = scanner.next();
    if (token == XmlScanner::Token::Done) scanner.fail("a cell that is not closed");
    if (token == XmlScanner::Token::End && scanner.depth() == depth - 1) break;
    if (token != XmlScanner::Token::Start) continue;
    std::string_view local = localName(scanner.name());
    if (local == "v") {
      content.hasValue = true;
      scanner.appendTextContent(content.value);
    } else if (local == "f") {
      content.hasFormula = true;
      std::string_view attr;
      if (findAttribute(scanner.attributes(), "t", attr)) content.formulaType = std::string(attr);
      if (findAttribute(scanner.attributes(), "si", attr)) content.sharedIndex = std::string(attr);
      scanner.appendTextContent(content.formula);
    } else if (local == "is") {
      content.hasInlineString = true;
      appendStringItem(scanner, content.inlineString);
    } else {
      scanner.skipElement();
    }
  }
  return content;
}

}  // namespace vk::xlsx

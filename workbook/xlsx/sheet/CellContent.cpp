#include "workbook/xlsx/sheet/CellContent.h"

#include "workbook/Ascii.h"

namespace vk::xlsx {

namespace {

void appendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

void decodeEscapedCharacters(std::string& text) {
  if (text.find("_x") == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
      unsigned cp = 0;
      bool hex = true;
      for (std::size_t k = 2; k < 6; ++k) {
        int d = hexDigitValue(text[i + k]);
        if (d < 0) hex = false;
        cp = cp * 16 + unsigned(d < 0 ? 0 : d);
      }
      if (hex && (cp < 0xD800 || cp > 0xDFFF) && cp != 0) {
        appendUtf8(out, cp);
        i += 7;
        continue;
      }
    }
    out += text[i++];
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

CellContent readCellContent(std::string_view cellXml, std::string_view where, std::size_t maxDepth) {
  CellContent content;
  XmlScanner scanner(cellXml, where, maxDepth);
  XmlScanner::Token token;
  while ((token = scanner.next()) == XmlScanner::Token::Text) {
  }
  if (token != XmlScanner::Token::Start || localName(scanner.name()) != "c") scanner.fail("a cell that is not a <c> element");
  std::string_view type;
  if (findAttribute(scanner.attributes(), "t", type)) content.type = std::string(type);
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

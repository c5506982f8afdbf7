#include "workbook/xlsx/xml/XmlScan.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/xlsx/xml/Utf8.h"

namespace vk::xlsx {

// A table, as every character of every tag is looked up.
constexpr std::array<bool, 256> detail::kNameChars = [] {
  std::array<bool, 256> chars{};
  for (std::size_t c = 0; c < chars.size(); ++c) chars[c] = true;
  for (char c : std::string_view(" \t\n\r<>/=\"'&")) chars[static_cast<unsigned char>(c)] = false;
  return chars;
}();

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Resolves one reference starting at raw[i] == '&'; advances i past it.
bool appendReference(std::string& out, std::string_view raw, std::size_t& i) {
  std::size_t semi = raw.find(';', i);
  if (semi == std::string_view::npos || semi - i > 12) return false;
  std::string_view ref = raw.substr(i + 1, semi - i - 1);
  i = semi + 1;
  if (ref == "lt")
    out += '<';
  else if (ref == "gt")
    out += '>';
  else if (ref == "amp")
    out += '&';
  else if (ref == "quot")
    out += '"';
  else if (ref == "apos")
    out += '\'';
  else if (ref.size() >= 2 && ref[0] == '#') {
    bool hex = ref[1] == 'x';
    std::string_view digits = ref.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    unsigned long cp = 0;
    for (char c : digits) {
      int d = hexDigitValue(c);
      if (d < 0 || (!hex && d > 9)) return false;
      cp = cp * (hex ? 16 : 10) + unsigned(d);
      if (cp > 0x10FFFF) return false;
    }
    if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    appendUtf8(out, char32_t(cp));
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool XmlAttributes::next(XmlAttribute& attribute) {
  while (pos_ < list_.size() && isSpace(list_[pos_])) ++pos_;
  if (pos_ >= list_.size()) return false;
  std::size_t nameBegin = pos_;
  while (pos_ < list_.size() && isNameChar(list_[pos_])) ++pos_;
  std::size_t nameEnd = pos_;
  while (pos_ < list_.size() && isSpace(list_[pos_])) ++pos_;
  if (nameEnd == nameBegin || pos_ >= list_.size() || list_[pos_] != '=') return ok_ = false;
  ++pos_;
  while (pos_ < list_.size() && isSpace(list_[pos_])) ++pos_;
  if (pos_ >= list_.size() || (list_[pos_] != '"' && list_[pos_] != '\'')) return ok_ = false;
  char quote = list_[pos_++];
  std::size_t valueEnd = list_.find(quote, pos_);
  if (valueEnd == std::string_view::npos) return ok_ = false;
  attribute.name = list_.substr(nameBegin, nameEnd - nameBegin);
  attribute.value = list_.substr(pos_, valueEnd - pos_);
  attribute.quote = quote;
  if (attribute.value.find('<') != std::string_view::npos) return ok_ = false;
  pos_ = valueEnd + 1;
  // Attributes must be separated by blanks.
  if (pos_ < list_.size() && !isSpace(list_[pos_])) return ok_ = false;
  return true;
}

bool findAttribute(std::string_view list, std::string_view local, std::string_view& value) {
  XmlAttributes attributes(list);
  XmlAttribute a;
  while (attributes.next(a)) {
    if (localName(a.name) == local) {
      value = a.value;
      return true;
    }
  }
  return false;
}

std::string_view attributesOf(std::string_view element) {
  std::size_t nameEnd = 1;
  while (nameEnd < element.size() && isNameChar(element[nameEnd])) ++nameEnd;
  std::size_t tagEnd = nameEnd;
  char quote = 0;
  for (; tagEnd < element.size(); ++tagEnd) {
    char c = element[tagEnd];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      break;
    }
  }
  std::size_t listEnd = tagEnd;
  if (listEnd > nameEnd && element[listEnd - 1] == '/') --listEnd;
  return element.substr(nameEnd, listEnd - nameEnd);
}

void appendAttributesExcept(std::string& out, std::string_view list, std::initializer_list<std::string_view> excluded) {
  XmlAttributes attributes(list);
  XmlAttribute a;
  while (attributes.next(a)) {
    if (std::find(excluded.begin(), excluded.end(), localName(a.name)) != excluded.end()) continue;
    out += ' ';
    out += a.name;
    out += '=';
    out += a.quote;
    out += a.value;
    out += a.quote;
  }
}

bool appendUnescaped(std::string& out, std::string_view raw) {
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      break;
    }
    out.append(raw.substr(i, amp - i));
    i = amp;
    if (!appendReference(out, raw, i)) return false;
  }
  return true;
}

void appendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      case '\t': out += "&#9;"; break;
      default: out += c;
    }
  }
}

XmlScanner::XmlScanner(std::string_view text, std::string_view where, std::size_t maxDepth, std::size_t begin,
                       std::size_t end)
    : text_(text), where_(where), maxDepth_(maxDepth), pos_(begin), end_(std::min(end, text.size())) {
  if (pos_ > end_) pos_ = end_;
}

void XmlScanner::fail(std::string_view why) const {
  throw Fault(FaultKind::Workbook, std::string(where_) + " is damaged: " + std::string(why) + " (at byte " +
                                       std::to_string(tokenBegin_) + ")");
}

void XmlScanner::skipPast(std::string_view terminator, std::string_view what) {
  std::string_view rest = text_.substr(0, end_).substr(pos_);
  std::size_t at = rest.find(terminator);
  if (at == std::string_view::npos) fail(std::string("an unterminated ") + std::string(what));
  pos_ += at + terminator.size();
}

XmlScanner::Token XmlScanner::next() {
  for (;;) {
    tokenBegin_ = pos_;
    selfClosing_ = false;
    cdata_ = false;
    if (pos_ >= end_) {
      if (!open_.empty()) fail("the element <" + std::string(open_.back()) + "> is not closed");
      return Token::Done;
    }
    if (text_[pos_] != '<') {
      const void* lt = std::memchr(text_.data() + pos_, '<', end_ - pos_);
      std::size_t stop = lt ? std::size_t(static_cast<const char*>(lt) - text_.data()) : end_;
      textValue_ = text_.substr(pos_, stop - pos_);
      pos_ = stop;
      return Token::Text;
    }
    std::string_view rest = text_.substr(pos_, end_ - pos_);
    if (rest.size() < 2) fail("a tag that is not closed");
    if (rest.substr(0, 4) == "<!--") {
      pos_ += 4;
      skipPast("-->", "comment");
      continue;
    }
    if (rest.substr(0, 9) == "<![CDATA[") {
      pos_ += 9;
      std::size_t contentBegin = pos_;
      skipPast("]]>", "CDATA section");
      textValue_ = text_.substr(contentBegin, pos_ - 3 - contentBegin);
      cdata_ = true;
      return Token::Text;
    }
    if (rest.substr(0, 2) == "<?") {
      pos_ += 2;
      skipPast("?>", "processing instruction");
      continue;
    }
    if (rest.substr(0, 2) == "<!") fail("a document type declaration or other markup that is not allowed");
    scanTag();
    return rest[1] == '/' ? Token::End : Token::Start;
  }
}

void XmlScanner::scanTag() {
  bool closing = text_[pos_ + 1] == '/';
  std::size_t nameBegin = pos_ + (closing ? 2 : 1);
  std::size_t i = nameBegin;
  while (i < end_ && isNameChar(text_[i])) ++i;
  if (i == nameBegin) fail("a tag without a name");
  name_ = text_.substr(nameBegin, i - nameBegin);
  // Find the closing bracket outside quoted values.
  std::size_t attrBegin = i;
  char quote = 0;
  while (i < end_) {
    char c = text_[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      break;
    } else if (c == '<') {
      fail("a tag that is not closed");
    }
    ++i;
  }
  if (i >= end_) fail("a tag that is not closed");
  std::size_t attrEnd = i;
  pos_ = i + 1;
  if (closing) {
    for (std::size_t k = attrBegin; k < attrEnd; ++k)
      if (!isSpace(text_[k])) fail("a malformed end tag </" + std::string(name_) + ">");
    if (open_.empty() || open_.back() != name_)
      fail("the end tag </" + std::string(name_) + "> does not match the open element");
    open_.pop_back();
    attributes_ = {};
    return;
  }
  if (attrEnd > attrBegin && text_[attrEnd - 1] == '/') {
    selfClosing_ = true;
    --attrEnd;
  }
  attributes_ = text_.substr(attrBegin, attrEnd - attrBegin);
  if (!attributes_.empty() && !isSpace(attributes_.front())) fail("a malformed tag <" + std::string(name_) + ">");
  XmlAttributes list(attributes_);
  XmlAttribute a;
  while (list.next(a)) {
  }
  if (!list.ok()) fail("malformed attributes in <" + std::string(name_) + ">");
  if (!selfClosing_) {
    if (open_.size() >= maxDepth_) fail("elements nested too deeply");
    open_.push_back(name_);
  }
}

std::size_t XmlScanner::skipTextOnlyElement(std::string_view child) {
  if (selfClosing_) return pos_;
  const std::string_view rest = text_.substr(pos_, end_ - pos_), prefix = namePrefix(name_);
  std::size_t at = 0;
  // "<" or "</", the name and ">" at `at`: passed when it is there.
  auto tag = [&](std::string_view opening, std::string_view prefixPart, std::string_view local) {
    const std::size_t size = opening.size() + prefixPart.size() + local.size() + 1;
    if (rest.size() - at < size || rest.compare(at, opening.size(), opening) != 0 ||
        rest.compare(at + opening.size(), prefixPart.size(), prefixPart) != 0 ||
        rest.compare(at + opening.size() + prefixPart.size(), local.size(), local) != 0 || rest[at + size - 1] != '>')
      return false;
    at += size;
    return true;
  };
  if (tag("<", prefix, child)) {
    const std::size_t lt = rest.find('<', at);
    if (lt == std::string_view::npos) return 0;
    at = lt;
    if (!tag("</", prefix, child)) return 0;
  }
  if (!tag("</", "", name_)) return 0;
  pos_ += at;
  open_.pop_back();
  return pos_;
}

std::size_t XmlScanner::skipElement() {
  if (selfClosing_) return pos_;
  std::size_t depth = open_.size();
  for (;;) {
    Token t = next();
    if (t == Token::Done) fail("an element that is not closed");
    if (t == Token::End && open_.size() == depth - 1) return pos_;
  }
}

void XmlScanner::appendTextContent(std::string& out) {
  if (selfClosing_) return;
  std::size_t depth = open_.size();
  for (;;) {
    Token t = next();
    if (t == Token::Done) fail("an element that is not closed");
    if (t == Token::End && open_.size() == depth - 1) return;
    if (t == Token::Start) {
      skipElement();
    } else if (t == Token::Text) {
      if (cdata_)
        out.append(textValue_);
      else if (!appendUnescaped(out, textValue_))
        fail("a malformed character or entity reference");
    }
  }
}

}  // namespace vk::xlsx

#pragma once
// A small pull scanner for the XML of worksheet cells and shared strings.
// A results sheet can hold a million cells; the scanner walks them without
// building a tree and reports where every element starts and ends, so that
// untouched cells are written back exactly as they were read.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vk::xlsx {

namespace detail {
extern const std::array<bool, 256> kNameChars;
}
// Whether a character may stand in a name, as the scanner reads names: all
// but blanks and < > / = " ' &.
inline bool isNameChar(char c) { return detail::kNameChars[static_cast<unsigned char>(c)]; }

// Where a qualified name's colon is; names are short, and looked at for
// every cell.
inline std::size_t colonOf(std::string_view qname) {
  for (std::size_t i = 0; i < qname.size(); ++i)
    if (qname[i] == ':') return i;
  return std::string_view::npos;
}
// "x:row" -> "row"; "row" -> "row".
inline std::string_view localName(std::string_view qname) {
  const std::size_t colon = colonOf(qname);
  return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}
// "x:row" -> "x:"; "row" -> "".
inline std::string_view namePrefix(std::string_view qname) {
  const std::size_t colon = colonOf(qname);
  return colon == std::string_view::npos ? std::string_view() : qname.substr(0, colon + 1);
}

struct XmlAttribute {
  std::string_view name;   // qualified, as written
  std::string_view value;  // raw: references not yet resolved
  char quote = '"';
};

// Walks the attribute list of a start tag (the text between its name and
// its closing bracket). Returns false at the end; a malformed list is
// reported through ok().
class XmlAttributes {
 public:
  explicit XmlAttributes(std::string_view list) : list_(list) {}
  bool next(XmlAttribute& attribute);
  bool ok() const { return ok_; }

 private:
  std::string_view list_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// The raw value of the attribute with this local name, if present.
bool findAttribute(std::string_view list, std::string_view local, std::string_view& value);
// Whether a boolean value (an attribute, a cell of type "b") is true: "1"
// or "true".
inline bool isTrueValue(std::string_view value) { return value == "1" || value == "true"; }

// The attribute list of an element's start tag, given the element's text.
std::string_view attributesOf(std::string_view element);
// Appends the attributes of a list, as written, except those with the named
// local names.
void appendAttributesExcept(std::string& out, std::string_view list, std::initializer_list<std::string_view> excluded);

// Appends text with its character and entity references resolved; false when
// a reference is malformed or names an unknown entity.
bool appendUnescaped(std::string& out, std::string_view raw);
// Appends text escaped for an attribute value in double quotes.
void appendEscaped(std::string& out, std::string_view text);

class XmlScanner {
 public:
  enum class Token { Start, End, Text, Done };

  // Scans text[begin, end); `where` names the part in faults and must outlive
  // the scanner. Elements must nest properly inside the range.
  XmlScanner(std::string_view text, std::string_view where, std::size_t maxDepth, std::size_t begin = 0,
             std::size_t end = std::string_view::npos);

  // Comments and processing instructions are skipped; a CDATA section is a
  // Text token. A self-closing element gives a Start token and no End token.
  Token next();

  // Of the last Start or End token.
  std::string_view name() const { return name_; }
  std::string_view attributes() const { return attributes_; }
  bool selfClosing() const { return selfClosing_; }
  // Of the last token: where it starts, and where it ends (exclusive).
  std::size_t tokenBegin() const { return tokenBegin_; }
  std::size_t tokenEnd() const { return pos_; }
  // Of the last Text token: the raw text, or the content of a CDATA section.
  std::string_view text() const { return textValue_; }
  bool isCData() const { return cdata_; }
  // Elements open at this point.
  std::size_t depth() const { return open_.size(); }

  // After a Start token: skips the element's content and end tag; returns the
  // offset just past the element.
  std::size_t skipElement();
  // The same for an element that holds at most one `child` of text alone,
  // as most cells do (<c r="A1"><v>7</v></c>), without a token for each
  // piece; 0, with nothing skipped, for any other element.
  std::size_t skipTextOnlyElement(std::string_view child);
  // Appends the text content of the element just started (references
  // resolved, CDATA as is) and consumes its end tag; child elements are
  // skipped.
  void appendTextContent(std::string& out);

  [[noreturn]] void fail(std::string_view why) const;

 private:
  void scanTag();
  void skipPast(std::string_view terminator, std::string_view what);

  std::string_view text_;
  std::string_view where_;
  std::size_t maxDepth_;
  std::size_t pos_;
  std::size_t end_;
  std::vector<std::string_view> open_;
  std::string_view name_;
  std::string_view attributes_;
  std::string_view textValue_;
  std::size_t tokenBegin_ = 0;
  bool selfClosing_ = false;
  bool cdata_ = false;
};

}  // namespace vk::xlsx

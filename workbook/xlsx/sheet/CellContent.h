#pragma once
// What one cell element holds, read from its XML text on demand, and the text
// of string items (shared strings and inline strings).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

struct CellContent {
  std::string type = "n";   // the t attribute
  std::uint32_t style = 0;  // the s attribute: the cell format's index
  bool hasValue = false;    // a <v> child: the number, string index, or cached result
  std::string value;
  bool hasFormula = false;
  std::string formula;      // the <f> text; empty for a cell that shares another's formula
  std::string formulaType;  // the t attribute of <f>: "shared", "array" ...
  std::string sharedIndex;  // the si attribute of a shared formula
  bool hasInlineString = false;
  std::string inlineString;
};

// Reads a <c> element (the scanner's text must hold just that element).
CellContent readCellContent(std::string_view cellXml, std::string_view where, std::size_t maxDepth);

// A cell whose element holds at most its value, as most do, read without a
// copy: the type, the format and the value's text as written.
struct PlainCell {
  std::string_view type = "n";
  std::uint32_t style = 0;
  bool hasValue = false;
  std::string_view value;
};
// Nothing for any other cell (a formula, an inline string, a reference in
// the value, other children, a malformed element): readCellContent reads it.
std::optional<PlainCell> readPlainCell(std::string_view cellXml);

// After the scanner returned the start of an <si> or <is> element: appends its
// text (its <t> and the <t> of its runs; phonetic readings are left out) and
// consumes the element.
void appendStringItem(XmlScanner& scanner, std::string& out);

// Resolves the _xHHHH_ escapes the file format uses for characters XML
// cannot hold.
void decodeEscapedCharacters(std::string& text);

}  // namespace vk::xlsx

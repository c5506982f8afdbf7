#include "workbook/xlsx/sheet/Worksheet.h"

#include <charconv>

#include "module1/Fault.h"
#include "workbook/xlsx/sheet/CellRef.h"
#include "workbook/xlsx/sheet/SheetViews.h"
#include "workbook/xlsx/xml/Dom.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

namespace {

int toInt(const char* text) {
  int value = 0;
  std::string_view s(text);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() ? value : 0;
}

}  // namespace

Worksheet::Worksheet(std::string text, std::string where, const Limits& limits) : where_(std::move(where)) {
  if (text.size() >= 3 && (text[0] == '\xFE' || text[0] == '\xFF'))
    throw Fault(FaultKind::Workbook, where_ + " is not in UTF-8, which this program reads");
  XmlScanner scanner(text, where_, limits.maxDepth);
  XmlScanner::Token token;
  while ((token = scanner.next()) == XmlScanner::Token::Text) {
  }
  if (token != XmlScanner::Token::Start || localName(scanner.name()) != "worksheet")
    scanner.fail("the part is not a worksheet");
  std::size_t dataBegin = 0, dataEnd = 0;
  std::string dataName;
  if (!scanner.selfClosing()) {
    for (;;) {
      token = scanner.next();
      if (token == XmlScanner::Token::End && scanner.depth() == 0) break;
      if (token != XmlScanner::Token::Start) continue;
      if (localName(scanner.name()) == "sheetData") {
        if (!dataName.empty()) scanner.fail("the worksheet has two cell tables");
        dataName = std::string(scanner.name());
        dataBegin = scanner.tokenBegin();
        cells_.parse(text, scanner, namePrefix(scanner.name()), where_, limits.maxDepth);
        dataEnd = scanner.tokenEnd();
      } else {
        scanner.skipElement();
      }
    }
  }
  while ((token = scanner.next()) != XmlScanner::Token::Done) {
    if (token == XmlScanner::Token::Start) scanner.fail("a second root element");
  }
  if (dataName.empty()) scanner.fail("the worksheet has no cell table (sheetData)");
  std::string rest = text.substr(0, dataBegin) + "<" + dataName + "/>" + text.substr(dataEnd);
  parseTree(tree_, rest, where_, limits.maxTreeSize);
  cells_.keepText(std::move(text));
  readColumnStyles();
}

void Worksheet::readColumnStyles() {
  std::vector<SheetCells::ColumnStyle> styles;
  for (pugi::xml_node cols = tree_.document_element().first_child(); cols; cols = cols.next_sibling()) {
    if (cols.type() != pugi::node_element || nodeLocalName(cols) != "cols") continue;
    for (pugi::xml_node col = cols.first_child(); col; col = col.next_sibling()) {
      if (col.type() != pugi::node_element || nodeLocalName(col) != "col") continue;
      int style = toInt(attribute(col, "style").value());
      if (style > 0)
        styles.push_back(
            {toInt(attribute(col, "min").value()), toInt(attribute(col, "max").value()), std::uint32_t(style)});
    }
  }
  cells_.setColumnStyles(std::move(styles));
}

bool Worksheet::setTabSelected(bool selected) {
  bool changed = xlsx::setTabSelected(tree_.document_element(), selected);
  treeChanged_ |= changed;
  return changed;
}

bool Worksheet::select(int row, int column) {
  bool changed = selectCell(tree_.document_element(), row, column);
  treeChanged_ |= changed;
  return changed;
}

void Worksheet::write(PartDeflater& deflater) {
  cells_.keepSharedFormulas();
  pugi::xml_node root = tree_.document_element();
  if (cellsChanged_) {
    if (pugi::xml_node dimension = child(root, "dimension")) {
      SheetCells::Bounds b = cells_.bounds();
      std::string ref = b.firstRow == 0 ? std::string("A1") : cellRef(b.firstRow, b.firstColumn);
      if (b.firstRow != 0 && (b.lastRow != b.firstRow || b.lastColumn != b.firstColumn))
        ref += ":" + cellRef(b.lastRow, b.lastColumn);
      setAttribute(dimension, "ref", ref);
    }
  }
  // The text goes to the deflater, which compresses it as it grows.
  std::string& out = deflater.text();
  auto passOn = [&] { deflater.passOn(); };
  AppendWriter writer(out);
  for (pugi::xml_node node = tree_.first_child(); node; node = node.next_sibling()) {
    if (node != root) {
      node.print(writer, "", pugi::format_raw);
      continue;
    }
    out += '<';
    out += root.name();
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
      out += ' ';
      out += a.name();
      out += "=\"";
      appendEscaped(out, a.value());
      out += '"';
    }
    out += '>';
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling()) {
      if (c.type() == pugi::node_element && nodeLocalName(c) == "sheetData") {
        out += '<';
        out += c.name();
        out += '>';
        cells_.emit(out, passOn);
        out += "</";
        out += c.name();
        out += '>';
      } else {
        c.print(writer, "", pugi::format_raw);
        passOn();
      }
    }
    out += "</";
    out += root.name();
    out += '>';
  }
}

}  // namespace vk::xlsx

#include "workbook/xlsx/sheet/SharedStrings.h"

#include "workbook/xlsx/sheet/CellContent.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

SharedStrings::SharedStrings(std::string xml, std::string where, const Limits& limits)
    : xml_(std::move(xml)), where_(std::move(where)), maxDepth_(limits.maxDepth) {
  XmlScanner scanner(xml_, where_, maxDepth_);
  for (;;) {
    XmlScanner::Token token = scanner.next();
    if (token == XmlScanner::Token::Done) break;
    if (token != XmlScanner::Token::Start) continue;
    if (scanner.depth() == (scanner.selfClosing() ? 0u : 1u)) {
      if (localName(scanner.name()) != "sst") scanner.fail("the shared strings are not an <sst> element");
      continue;
    }
    bool item = localName(scanner.name()) == "si";
    std::size_t begin = scanner.tokenBegin();
    std::size_t end = scanner.skipElement();
    if (item) items_.emplace_back(std::uint32_t(begin), std::uint32_t(end - begin));
  }
}

std::string SharedStrings::text(std::size_t index) const {
  auto [offset, length] = items_.at(index);
  XmlScanner scanner(xml_, where_, maxDepth_, offset, offset + length);
  std::string out;
  if (scanner.next() == XmlScanner::Token::Start) appendStringItem(scanner, out);
  return out;
}

}  // namespace vk::xlsx

#include "workbook/xlsx/sheet/WorkbookPart.h"

#include <charconv>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/xlsx/xml/Dom.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

WorkbookPart::WorkbookPart(std::string_view xml, std::string where, const Limits& limits) {
  parseTree(doc_, xml, where, limits.maxTreeSize);
  pugi::xml_node root = doc_.document_element();
  if (nodeLocalName(root) != "workbook") throw Fault(FaultKind::Workbook, where + " is not a workbook part");
  for (pugi::xml_node s = child(child(root, "sheets"), "sheet"); s; s = s.next_sibling()) {
    if (s.type() != pugi::node_element || nodeLocalName(s) != "sheet") continue;
    SheetListing listing;
    listing.name = attribute(s, "name").value();
    listing.relationshipId = attribute(s, "id").value();
    std::string_view state = attribute(s, "state").value();
    listing.hidden = state == "hidden" || state == "veryHidden";
    sheets_.push_back(std::move(listing));
  }
}

bool WorkbookPart::uses1904Dates() const {
  return isTrueValue(attribute(child(doc_.document_element(), "workbookPr"), "date1904").value());
}

std::vector<std::string> WorkbookPart::definedNames() const {
  std::vector<std::string> names;
  for (pugi::xml_node n = child(child(doc_.document_element(), "definedNames"), "definedName"); n; n = n.next_sibling())
    if (n.type() == pugi::node_element) names.emplace_back(attribute(n, "name").value());
  return names;
}

std::optional<std::string> WorkbookPart::workbookDefinedName(std::string_view name) const {
  for (pugi::xml_node n = child(child(doc_.document_element(), "definedNames"), "definedName"); n; n = n.next_sibling())
    if (n.type() == pugi::node_element && nodeLocalName(n) == "definedName" && !attribute(n, "localSheetId") &&
        equalIgnoringAsciiCase(attribute(n, "name").value(), name))
      return std::string(n.text().get());
  return std::nullopt;
}

void WorkbookPart::setActiveTab(int index) {
  pugi::xml_node root = doc_.document_element();
  pugi::xml_node view = child(child(root, "bookViews"), "workbookView");
  if (!view) {
    if (index == 0) return;  // without a window setting the workbook opens on its first sheet
    pugi::xml_node views = ensureChild(root, "bookViews",
                                       {"sheets", "functionGroups", "externalReferences", "definedNames", "calcPr",
                                        "oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                        "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"});
    view = ensureChild(views, "workbookView", {"extLst"});
    changed_ = true;
  }
  const std::string tab = std::to_string(index);
  if (index != 0 || attribute(view, "activeTab")) changed_ |= setAttribute(view, "activeTab", tab);
  // The tab bar must not start after the active tab.
  if (pugi::xml_attribute first = attribute(view, "firstSheet")) {
    int value = 0;
    std::string_view text = first.value();
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > index) changed_ |= setAttribute(view, "firstSheet", tab);
  }
}

void WorkbookPart::setFullCalcOnLoad() {
  pugi::xml_node calc = ensureChild(doc_.document_element(), "calcPr",
                                    {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                     "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"});
  changed_ |= setAttribute(calc, "fullCalcOnLoad", "1");
}

std::string WorkbookPart::xml() const { return treeText(doc_); }

}  // namespace vk::xlsx

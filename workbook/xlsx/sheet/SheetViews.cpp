#include "workbook/xlsx/sheet/SheetViews.h"

#include <string>

#include "workbook/xlsx/sheet/CellRef.h"
#include "workbook/xlsx/xml/Dom.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

namespace {

// The schema's order of the elements that may follow sheetViews.
pugi::xml_node ensureSheetViews(pugi::xml_node root) {
  return ensureChild(root, "sheetViews", {"sheetFormatPr",    "cols",
                                          "sheetData",        "sheetCalcPr",
                                          "sheetProtection",  "protectedRanges",
                                          "scenarios",        "autoFilter",
                                          "sortState",        "dataConsolidate",
                                          "customSheetViews", "mergeCells",
                                          "phoneticPr",       "conditionalFormatting",
                                          "dataValidations",  "hyperlinks",
                                          "printOptions",     "pageMargins",
                                          "pageSetup",        "headerFooter",
                                          "rowBreaks",        "colBreaks",
                                          "customProperties", "cellWatches",
                                          "ignoredErrors",    "smartTags",
                                          "drawing",          "legacyDrawing",
                                          "legacyDrawingHF",  "drawingHF",
                                          "picture",          "oleObjects",
                                          "controls",         "webPublishItems",
                                          "tableParts",       "extLst"});
}

// The view of the workbook's first window, made when missing.
pugi::xml_node ensureFirstView(pugi::xml_node root) {
  pugi::xml_node views = ensureSheetViews(root);
  pugi::xml_node view = child(views, "sheetView");
  if (!view) {
    view = ensureChild(views, "sheetView", {"extLst"});
    setAttribute(view, "workbookViewId", "0");
  }
  return view;
}

}  // namespace

bool setTabSelected(pugi::xml_node root, bool selected) {
  pugi::xml_node views = child(root, "sheetViews");
  if (!views && !selected) return false;
  if (selected) {
    pugi::xml_node first = ensureFirstView(root);
    return setAttribute(first, "tabSelected", "1");
  }
  bool changed = false;
  for (pugi::xml_node view = views.first_child(); view; view = view.next_sibling())
    if (view.type() == pugi::node_element && nodeLocalName(view) == "sheetView") {
      if (isTrueValue(attribute(view, "tabSelected").value())) changed |= removeAttribute(view, "tabSelected");
    }
  return changed;
}

bool selectCell(pugi::xml_node root, int row, int column) {
  pugi::xml_node view = ensureFirstView(root);
  const std::string ref = cellRef(row, column);
  std::string pane;
  if (pugi::xml_node p = child(view, "pane")) {
    pane = attribute(p, "activePane").value();
    if (pane.empty()) pane = "topLeft";
  }
  int selections = 0;
  bool same = false;
  for (pugi::xml_node s = view.first_child(); s; s = s.next_sibling())
    if (s.type() == pugi::node_element && nodeLocalName(s) == "selection") {
      ++selections;
      same = std::string(attribute(s, "activeCell").value()) == ref &&
             std::string(attribute(s, "sqref").value()) == ref && std::string(attribute(s, "pane").value()) == pane;
    }
  bool changed = false;
  if (!(selections == 1 && same)) {
    while (pugi::xml_node s = child(view, "selection")) view.remove_child(s);
    pugi::xml_node selection = ensureChild(view, "selection", {"pivotSelection", "extLst"});
    if (!pane.empty()) setAttribute(selection, "pane", pane);
    setAttribute(selection, "activeCell", ref);
    setAttribute(selection, "sqref", ref);
    changed = true;
  }
  // Scroll back when the cell lies above or left of the window's corner.
  if (pugi::xml_attribute corner = attribute(view, "topLeftCell"); corner && pane.empty()) {
    int cornerRow = 0, cornerColumn = 0;
    if (parseCellRef(corner.value(), cornerRow, cornerColumn) && (row < cornerRow || column < cornerColumn))
      changed |= setAttribute(view, "topLeftCell", ref);
  }
  return changed;
}

}  // namespace vk::xlsx

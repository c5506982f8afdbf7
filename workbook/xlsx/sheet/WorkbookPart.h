#pragma once
// The workbook part (xl/workbook.xml): the list of sheets, the window's
// active tab, the calculation settings and the defined names.

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/xlsx/package/Limits.h"

namespace vk::xlsx {

struct SheetListing {
  std::string name;
  std::string relationshipId;
  bool hidden = false;
};

class WorkbookPart {
 public:
  WorkbookPart(std::string_view xml, std::string where, const Limits& limits);

  const std::vector<SheetListing>& sheets() const { return sheets_; }
  // Dates count from 1904 rather than 1900.
  bool uses1904Dates() const;
  std::vector<std::string> definedNames() const;
  // What the workbook-level name (not one of a single sheet) refers to, as
  // written; names are matched regardless of case, as spreadsheets do.
  std::optional<std::string> workbookDefinedName(std::string_view name) const;

  // The workbook opens on this sheet (0-based position).
  void setActiveTab(int index);
  // Every formula is recalculated when the workbook is next opened.
  void setFullCalcOnLoad();

  bool changed() const { return changed_; }
  std::string xml() const;

 private:
  pugi::xml_document doc_;
  std::vector<SheetListing> sheets_;
  bool changed_ = false;
};

}  // namespace vk::xlsx

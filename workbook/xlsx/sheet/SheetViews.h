#pragma once
// What a sheet part keeps for the workbook window: whether its tab is
// selected, and which cell is selected. Works on worksheets and chart sheets.

#include <pugixml.hpp>

namespace vk::xlsx {

// Marks the sheet's tab selected or not; true when the part changed.
bool setTabSelected(pugi::xml_node sheetRoot, bool selected);
// Makes one cell the selection of the sheet's window; true when the part
// changed.
bool selectCell(pugi::xml_node sheetRoot, int row, int column);

}  // namespace vk::xlsx

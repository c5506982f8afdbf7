#pragma once
// One worksheet part: its cells, indexed without a tree, and everything else
// (views, column formats, merged cells ...) as a pugixml tree. Its text is
// rebuilt only when something in it changed.

#include <pugixml.hpp>
#include <string>

#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/PartDeflater.h"
#include "workbook/xlsx/sheet/SheetCells.h"

namespace vk::xlsx {

class Worksheet {
 public:
  Worksheet(std::string text, std::string where, const Limits& limits);
  Worksheet(const Worksheet&) = delete;
  Worksheet& operator=(const Worksheet&) = delete;

  const SheetCells& cells() const { return cells_; }
  bool setNumber(int row, int column, double value) { return note(cells_.setNumber(row, column, value)); }
  bool clear(const CellRange& range) { return note(cells_.clear(range)); }
  // Removes the cached results of the formulas `strip` picks.
  bool stripResults(const std::function<bool(int row, int column, const CellContent&)>& strip) {
    return note(cells_.stripResults(strip));
  }

  bool setTabSelected(bool selected);
  bool select(int row, int column);

  bool changed() const { return cellsChanged_ || treeChanged_; }
  // Writes the part's new text into the deflater.
  void write(PartDeflater& out);

 private:
  bool note(bool changed) { return cellsChanged_ |= changed, changed; }
  void readColumnStyles();

  std::string where_;
  pugi::xml_document tree_;  // all but the cells; sheetData stands empty in it
  SheetCells cells_;
  bool cellsChanged_ = false;
  bool treeChanged_ = false;
};

}  // namespace vk::xlsx

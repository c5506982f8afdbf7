#pragma once
// The numbers of a sheet's cells as readNumber gives them, read for a block
// of rows of one column in one call (getDataArray) instead of several calls
// per cell, and kept until the workbook is written.
//
// getDataArray gives a number for a value or a formula's number, the text of
// a text cell or a formula's text, an empty text for an empty cell, and
// nothing for an error value. An empty text is told apart from a formula's
// empty text by which cells of the block hold formulas, asked once when met.
// An error value is left to the caller, who reads that cell on its own to
// name the error.

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace vk {

class CellValues {
 public:
  // The cell's number: an empty cell is 0, a text that reads as a number is
  // that number, any other text a "type mismatch" fault naming the cell.
  // Nothing when the cell holds an error value or lies beyond the sheet's
  // rows; the caller reads it on its own then. Throws what LibreOffice throws.
  std::optional<double> number(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row,
                               int column);
  // Something was written: formulas anywhere may give other results now.
  void forget() { blocks_.clear(); }

 private:
  struct Block {
    css::uno::Reference<css::table::XCellRange> range;
    css::uno::Sequence<css::uno::Sequence<css::uno::Any>> values;  // one value per row
    std::optional<std::vector<bool>> formula;                      // asked when an empty text is met
  };
  Block& block(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row, int column);

  std::map<std::tuple<int, int, int>, Block> blocks_;  // by sheet, column, block of rows
};

}  // namespace vk

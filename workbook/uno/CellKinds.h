#pragma once
// The kind of value a Calc cell holds. Calc stores dates, times and logical
// values as numbers; their number format tells them apart, and a format's
// type is looked up once and remembered. Logical values read from an .xlsx
// file are the formulas =TRUE() and =FALSE().
//
// Cell by cell that would take several calls into LibreOffice each; the
// kinds are read instead for a block of rows of one column at a time, in a
// few calls (which cells hold text, values or formulas, and the ranges of
// equal format), and kept until the sheet is written.

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <map>
#include <tuple>
#include <vector>

#include "workbook/CellKind.h"

namespace vk {

class CellKinds {
 public:
  explicit CellKinds(const css::uno::Reference<css::frame::XModel>& document);
  // The kind of the cell at (row, column) of the sheet whose number is
  // `sheetNumber`. Throws what LibreOffice throws.
  CellKind of(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row, int column);
  // The sheet changed: what was read of it is forgotten.
  void forget(int sheetNumber);

 private:
  struct Block {
    std::vector<CellKind> kinds;
    std::vector<bool> formula;  // asked for cell by cell
  };
  Block readBlock(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet, int firstRow, int column);
  CellKind ofCell(const css::uno::Reference<css::table::XCell>& cell);
  CellKind ofFormat(sal_Int32 key);

  css::uno::Reference<css::util::XNumberFormats> formats_;
  std::map<sal_Int32, CellKind> byFormat_;
  std::map<std::tuple<int, int, int>, Block> blocks_;  // by sheet, column, block of rows
};

}  // namespace vk

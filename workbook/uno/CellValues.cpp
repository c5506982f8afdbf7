#include "workbook/uno/CellValues.h"

#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>

#include "workbook/CellText.h"
#include "workbook/uno/CellBlocks.h"
#include "workbook/uno/OfficeText.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

std::optional<double> CellValues::number(const Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row,
                                         int column) {
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) return std::nullopt;
  Block& b = block(sheet, sheetNumber, row, column);
  const std::size_t at = std::size_t(row - cellBlockStart(row));
  const css::uno::Any& value = b.values[sal_Int32(at)][0];
  if (double number = 0; value >>= number) return number;
  rtl::OUString text;
  if (!(value >>= text)) return std::nullopt;  // an error value
  if (text.isEmpty()) {
    if (!b.formula) {
      const int first = cellBlockStart(row);
      b.formula.emplace(std::size_t(cellBlockRows(first)), false);
      Reference<css::sheet::XCellRangesQuery> query(b.range, UNO_QUERY_THROW);
      forEachRow(query->queryContentCells(css::sheet::CellFlags::FORMULA)->getRangeAddresses(), first,
                 cellBlockRows(first), [&](std::size_t formula) { (*b.formula)[formula] = true; });
    }
    if (!(*b.formula)[at]) return 0.0;  // an empty cell
  }
  return numberFromText(fromOffice(text), sheetNumber, row, column);
}

CellValues::Block& CellValues::block(const Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row,
                                     int column) {
  const int first = cellBlockStart(row);
  const auto key = std::make_tuple(sheetNumber, column, first);
  if (auto it = blocks_.find(key); it != blocks_.end()) return it->second;
  Block b;
  b.range = sheet->getCellRangeByPosition(column - 1, first - 1, column - 1, first + cellBlockRows(first) - 2);
  b.values = Reference<css::sheet::XCellRangeData>(b.range, UNO_QUERY_THROW)->getDataArray();
  return blocks_.emplace(key, std::move(b)).first->second;
}

}  // namespace vk

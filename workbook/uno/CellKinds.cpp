#include "workbook/uno/CellKinds.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include <algorithm>

#include "workbook/uno/CellBlocks.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

CellKinds::CellKinds(const Reference<css::frame::XModel>& document)
    : formats_(Reference<css::util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)->getNumberFormats()) {}

CellKind CellKinds::of(const Reference<css::sheet::XSpreadsheet>& sheet, int sheetNumber, int row, int column) {
  const int first = cellBlockStart(row);
  const auto key = std::make_tuple(sheetNumber, column, first);
  auto it = blocks_.find(key);
  if (it == blocks_.end()) it = blocks_.emplace(key, readBlock(sheet, first, column)).first;
  const std::size_t at = std::size_t(row - first);
  if (it->second.formula[at]) return ofCell(sheet->getCellByPosition(column - 1, row - 1));
  return it->second.kinds[at];
}

void CellKinds::forget(int sheetNumber) {
  for (auto it = blocks_.begin(); it != blocks_.end();)
    it = std::get<0>(it->first) == sheetNumber ? blocks_.erase(it) : std::next(it);
}

CellKinds::Block CellKinds::readBlock(const Reference<css::sheet::XSpreadsheet>& sheet, int firstRow, int column) {
  const int lastRow = firstRow + cellBlockRows(firstRow) - 1;
  Reference<css::table::XCellRange> range =
      sheet->getCellRangeByPosition(column - 1, firstRow - 1, column - 1, lastRow - 1);
  Block b;
  b.kinds.assign(std::size_t(lastRow - firstRow + 1), CellKind::Empty);
  b.formula.assign(b.kinds.size(), false);
  Reference<css::sheet::XCellRangesQuery> query(range, UNO_QUERY_THROW);
  namespace flags = css::sheet::CellFlags;
  auto cellsWith = [&](int content) { return query->queryContentCells(sal_Int16(content))->getRangeAddresses(); };
  const int rows = int(b.kinds.size());
  forEachRow(cellsWith(flags::STRING), firstRow, rows, [&](std::size_t at) { b.kinds[at] = CellKind::Text; });
  forEachRow(cellsWith(flags::FORMULA), firstRow, rows, [&](std::size_t at) { b.formula[at] = true; });
  const auto values = cellsWith(flags::VALUE | flags::DATETIME);
  if (values.getLength() == 0) return b;
  // A value's kind is its format's: one call for each range of equal format.
  std::vector<CellKind> formatted(b.kinds.size(), CellKind::Number);
  Reference<css::container::XIndexAccess> formatRanges(
      Reference<css::sheet::XCellFormatRangesSupplier>(range, UNO_QUERY_THROW)->getCellFormatRanges(), UNO_QUERY_THROW);
  for (sal_Int32 i = 0; i < formatRanges->getCount(); ++i) {
    Reference<css::beans::XPropertySet> part(formatRanges->getByIndex(i), UNO_QUERY_THROW);
    sal_Int32 key = 0;
    part->getPropertyValue("NumberFormat") >>= key;
    const CellKind kind = ofFormat(key);
    const css::table::CellRangeAddress a =
        Reference<css::sheet::XCellRangeAddressable>(part, UNO_QUERY_THROW)->getRangeAddress();
    forEachRow(css::uno::Sequence<css::table::CellRangeAddress>(&a, 1), firstRow, rows,
               [&](std::size_t at) { formatted[at] = kind; });
  }
  forEachRow(values, firstRow, rows, [&](std::size_t at) { b.kinds[at] = formatted[at]; });
  return b;
}

CellKind CellKinds::ofCell(const Reference<css::table::XCell>& cell) {
  Reference<css::beans::XPropertySet> properties(cell, UNO_QUERY_THROW);
  auto formatted = [&] {
    sal_Int32 key = 0;
    properties->getPropertyValue("NumberFormat") >>= key;
    return ofFormat(key);
  };
  switch (cell->getType()) {
    case css::table::CellContentType_EMPTY: return CellKind::Empty;
    case css::table::CellContentType_TEXT: return CellKind::Text;
    case css::table::CellContentType_VALUE: return formatted();
    default: break;
  }
  // A formula: the kind of its result.
  if (cell->getError() != 0) return CellKind::Error;
  sal_Int32 result = 0;
  properties->getPropertyValue("FormulaResultType2") >>= result;
  if (result == css::sheet::FormulaResult::STRING) return CellKind::Text;
  if (result == css::sheet::FormulaResult::ERROR) return CellKind::Error;
  const rtl::OUString formula = cell->getFormula();
  if (formula.equalsIgnoreAsciiCase("=TRUE()") || formula.equalsIgnoreAsciiCase("=FALSE()")) return CellKind::Boolean;
  return formatted();
}

CellKind CellKinds::ofFormat(sal_Int32 key) {
  if (auto it = byFormat_.find(key); it != byFormat_.end()) return it->second;
  sal_Int16 type = 0;
  formats_->getByKey(key)->getPropertyValue("Type") >>= type;
  namespace f = css::util::NumberFormat;
  CellKind kind = CellKind::Number;
  if (type & f::LOGICAL)
    kind = CellKind::Boolean;
  else if (type & (f::DATE | f::TIME))
    kind = CellKind::DateTime;
  return byFormat_[key] = kind;
}

}  // namespace vk

#include "workbook/uno/CellKinds.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

CellKinds::CellKinds(const Reference<css::frame::XModel>& document)
    : formats_(Reference<css::util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)->getNumberFormats()) {}

CellKind CellKinds::of(const Reference<css::table::XCell>& cell) {
  switch (cell->getType()) {
    case css::table::CellContentType_EMPTY: return CellKind::Empty;
    case css::table::CellContentType_TEXT: return CellKind::Text;
    case css::table::CellContentType_VALUE: return ofNumber(cell);
    default: break;
  }
  // A formula: the kind of its result.
  if (cell->getError() != 0) return CellKind::Error;
  sal_Int32 result = 0;
  Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)->getPropertyValue("FormulaResultType2") >>= result;
  if (result == css::sheet::FormulaResult::STRING) return CellKind::Text;
  if (result == css::sheet::FormulaResult::ERROR) return CellKind::Error;
  // A logical value of an .xlsx file arrives as the formula =TRUE() or
  // =FALSE(), formatted as the cell was; typed into Calc it is a number in
  // a logical format.
  const rtl::OUString formula = cell->getFormula();
  if (formula.equalsIgnoreAsciiCase("=TRUE()") || formula.equalsIgnoreAsciiCase("=FALSE()")) return CellKind::Boolean;
  return ofNumber(cell);
}

CellKind CellKinds::ofNumber(const Reference<css::table::XCell>& cell) {
  sal_Int32 key = 0;
  Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)->getPropertyValue("NumberFormat") >>= key;
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

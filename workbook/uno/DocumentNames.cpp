#include "workbook/uno/DocumentNames.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeReferrer.hpp>
#include <com/sun/star/sheet/XNamedRange.hpp>
#include <com/sun/star/sheet/XNamedRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

#include "workbook/uno/OfficeText.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

std::vector<SheetTab> sheetTabs(const Reference<css::frame::XModel>& document) {
  Reference<css::container::XIndexAccess> sheets(
      Reference<css::sheet::XSpreadsheetDocument>(document, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
  std::vector<SheetTab> tabs;
  const sal_Int32 count = sheets->getCount();
  for (sal_Int32 i = 0; i < count; ++i) {
    Reference<css::container::XNamed> sheet(sheets->getByIndex(i), UNO_QUERY_THROW);
    bool visible = true;
    Reference<css::beans::XPropertySet>(sheet, UNO_QUERY_THROW)->getPropertyValue("IsVisible") >>= visible;
    // Every sheet of a Calc document is a worksheet; charts live on them.
    tabs.push_back({fromOffice(sheet->getName()), {}, !visible});
  }
  return tabs;
}

std::optional<DefinedName> documentDefinedName(const Reference<css::frame::XModel>& document, std::string_view name) {
  Reference<css::sheet::XNamedRanges> names;
  Reference<css::beans::XPropertySet>(document, UNO_QUERY_THROW)->getPropertyValue("NamedRanges") >>= names;
  const rtl::OUString officeName = toOffice(name);
  if (!names.is() || !names->hasByName(officeName)) return std::nullopt;
  Reference<css::sheet::XNamedRange> named(names->getByName(officeName), UNO_QUERY_THROW);
  DefinedName defined;
  defined.refersTo = fromOffice(named->getContent());
  // A name whose reference is broken, or that is a formula, refers to no cells.
  Reference<css::sheet::XCellRangeReferrer> referrer(named, UNO_QUERY);
  Reference<css::sheet::XCellRangeAddressable> cells(referrer.is() ? referrer->getReferredCells() : nullptr, UNO_QUERY);
  if (!cells.is()) return defined;
  const css::table::CellRangeAddress a = cells->getRangeAddress();
  defined.sheet = a.Sheet + 1;
  defined.range = {a.StartRow + 1, a.StartColumn + 1, a.EndRow + 1, a.EndColumn + 1};
  return defined;
}

}  // namespace vk

#pragma once
// The kind of value a Calc cell holds. Calc stores dates, times and logical
// values as numbers; their number format tells them apart, so the format's
// type is looked up once per format and remembered. Logical values read
// from an .xlsx file are the formulas =TRUE() and =FALSE().

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <map>

#include "workbook/CellKind.h"

namespace vk {

class CellKinds {
 public:
  explicit CellKinds(const css::uno::Reference<css::frame::XModel>& document);
  // Throws what LibreOffice throws.
  CellKind of(const css::uno::Reference<css::table::XCell>& cell);

 private:
  CellKind ofNumber(const css::uno::Reference<css::table::XCell>& cell);

  css::uno::Reference<css::util::XNumberFormats> formats_;
  std::map<sal_Int32, CellKind> byFormat_;
};

}  // namespace vk

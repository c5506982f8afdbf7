#pragma once
// One sheet of a workbook as its tab shows it.

#include <string>

namespace vk {

struct SheetTab {
  std::string name;
  // Not a worksheet: what it is instead ("a chart sheet"); empty for a worksheet.
  std::string otherKind;
  bool hidden = false;

  bool isWorksheet() const { return otherKind.empty(); }
};

}  // namespace vk

#pragma once
// The cells a defined name refers to, as the workbook part writes them:
// "Test!$C$7:$C$12", "'Initial analysis'!$A$7:$AI$22", "Test!$C$7".

#include <optional>
#include <string>
#include <string_view>

#include "workbook/A1.h"

namespace vk::xlsx {

struct SheetReference {
  std::string sheetName;
  CellRange range;
};

// The sheet and range of one area of one sheet (whole columns "$A:$C" and
// rows "$7:$12" included); nullopt for anything else: #REF!, a formula or a
// constant, several areas, a range over several sheets, another workbook.
std::optional<SheetReference> parseSheetReference(std::string_view text);

}  // namespace vk::xlsx

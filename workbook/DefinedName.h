#pragma once
// A workbook-level defined name and the cells it refers to.

#include <string>

#include "workbook/A1.h"

namespace vk {

struct DefinedName {
  std::string refersTo;  // as the workbook writes it, for messages ("Test!$C$7:$C$12", "#REF!")
  int sheet = 0;         // the sheet of its cells; 0 when it refers to no cells of one sheet
  CellRange range;       // its cells, when sheet > 0

  bool refersToCells() const { return sheet > 0; }
};

}  // namespace vk

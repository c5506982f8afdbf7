#include "workbook/ReadCell.h"

#include <cmath>
#include <limits>

#include "module1/Fault.h"
#include "module1/NumberText.h"
#include "workbook/CellText.h"

namespace vk {

float readSingle(Workbook& book, int sheet, int row, int column) {
  const double value = book.readNumber(sheet, row, column);
  const float single = static_cast<float>(value);
  if (!std::isfinite(single))
    throw Fault(FaultKind::Overflow,
                cellName(sheet, row, column) + " holds " + numberText(value) + ", too large for a 32-bit float");
  return single;
}

Integer readInteger(Workbook& book, int sheet, int row, int column) {
  return Integer::fromCell(book.readNumber(sheet, row, column), cellName(sheet, row, column));
}

}  // namespace vk

#pragma once
// Cell values converted as the analysis keeps them: counts to 16-bit
// integers (nearest, halves to even), everything else to 32-bit floats.

#include "module1/Integer.h"
#include "workbook/Workbook.h"

namespace vk {

float readSingle(Workbook& book, int sheet, int row, int column);
Integer readInteger(Workbook& book, int sheet, int row, int column);

}  // namespace vk

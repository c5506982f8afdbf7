#pragma once
// The test conditions of sheet 1, read at the start of the Reading command.

#include "module1/Module1.h"

namespace vk {

// Attaches to the workbook and reads C7:C12 of sheet 1 into the module.
void ReadConditions(Module1& m);

}  // namespace vk

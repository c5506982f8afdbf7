#pragma once
// Attaching to the chosen workbook and showing it.

#include "module1/Module1.h"
#include "workbook/Workbook.h"

namespace vk {

// Binds WorkbookPath through the module's engine: FileBook and DataBook then
// both denote the chosen workbook.
void OpenBook(Module1& m);
// Makes the workbook visible with the given sheet active.
void ShowBook(Module1& m, Integer sheet);
// The attached workbook; a fault when none is attached.
Workbook& dataBook(Module1& m);

}  // namespace vk

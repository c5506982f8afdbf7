#pragma once
// Attaching to the chosen workbook and showing it.

#include "module1/Module1.h"
#include "workbook/Workbook.h"

namespace vk {

// Binds WorkbookPath through the module's engine and finds the template's
// sheets (TemplateBook.h): FileBook and DataBook then both denote the chosen
// workbook, its sheets numbered as the cell map has them. A workbook whose
// sheets cannot be found is a fault, and nothing has been written.
void OpenBook(Module1& m);
// Makes the workbook visible with the given sheet active.
void ShowBook(Module1& m, Integer sheet);
// The attached workbook; a fault when none is attached.
Workbook& dataBook(Module1& m);

}  // namespace vk

#pragma once
// Where the template's three sheets (test, initial analysis, results) stand
// among a workbook's tabs.
//
// A workbook made from the template marks them with workbook-level defined
// names (cells::kSheetDefinedNames), so they are found wherever the user
// dragged their tabs. An older workbook without the names has them as its
// first three tabs; since writing into the wrong sheet would erase readings,
// its first three sheets must then be worksheets and sheet 1 must hold the
// test's conditions (numbers in C7 to C11), before anything is written.

#include <array>
#include <string>

#include "workbook/Workbook.h"

namespace vk {

struct TemplateTabs {
  // The tab (1 is the first) of the test, initial-analysis and results sheet.
  std::array<int, 3> tabs{1, 2, 3};
  bool named = false;
  int sheetCount = 3;  // of the whole workbook
};

// Looks at the tabs' defined names and, without them, at the first three
// tabs. A broken name (#REF!, no sheet, not a worksheet), two names on one
// sheet, some of the names without the others, or an unnamed workbook whose
// first tabs are not the template's is a Workbook fault that says what was
// found; `label` names the workbook in it.
TemplateTabs findTemplateSheets(Workbook& tabs, const std::string& label);

}  // namespace vk

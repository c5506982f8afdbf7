#include "workbook/TemplateSheets.h"

#include "module1/Fault.h"
#include "workbook/A1.h"
#include "workbook/CellMap.h"

namespace vk {

namespace c = cells;

namespace {

const std::string kNothingWritten = " Nothing was written.";

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string tabName(const std::vector<SheetTab>& tabs, int tab) {
  return "sheet " + std::to_string(tab) + " (" + quoted(tabs[std::size_t(tab - 1)].name) + ")";
}

TemplateTabs namedTabs(const std::vector<SheetTab>& tabs, const std::array<std::optional<DefinedName>, 3>& names,
                       const std::string& label) {
  TemplateTabs found;
  found.named = true;
  for (std::size_t k = 0; k < 3; ++k) {
    const c::SheetDefinedName& expected = c::kSheetDefinedNames[k];
    const std::string name = quoted(expected.name);
    if (!names[k])
      throw Fault(FaultKind::Workbook, "the workbook " + label + " lacks the defined name " + name + " that marks " +
                                           expected.what +
                                           ", while it has the others; define it again on that sheet's cells " +
                                           asciiUpperCase(c::definedNameRange(expected.sheet)) + "." + kNothingWritten);
    const DefinedName& defined = *names[k];
    const int tab = defined.sheet;
    if (!defined.refersToCells() || tab > int(tabs.size())) {
      // Engines write what a name refers to each in their own way; #REF! is what users know.
      const bool deleted = asciiUpperCase(defined.refersTo).find("#REF!") != std::string::npos;
      throw Fault(FaultKind::Workbook,
                  "the defined name " + name + " of the workbook " + label + " is broken: it refers to " +
                      (deleted ? "#REF! (cells or a sheet that were deleted)" : "no cells of one sheet") +
                      ". It marks " + expected.what + "; define it again on that sheet's cells " +
                      asciiUpperCase(c::definedNameRange(expected.sheet)) + "." + kNothingWritten,
                  "it refers to " + defined.refersTo);
    }
    const SheetTab& sheet = tabs[std::size_t(tab - 1)];
    if (!sheet.isWorksheet())
      throw Fault(FaultKind::Workbook, "the defined name " + name + " of the workbook " + label + " refers to " +
                                           tabName(tabs, tab) + ", which is " + sheet.otherKind + "; it must mark " +
                                           expected.what + "." + kNothingWritten);
    for (std::size_t earlier = 0; earlier < k; ++earlier)
      if (found.tabs[earlier] == tab)
        throw Fault(FaultKind::Workbook, "the defined names " + quoted(c::kSheetDefinedNames[earlier].name) + " and " +
                                             name + " of the workbook " + label + " are both on " + tabName(tabs, tab) +
                                             "; each marks a sheet of its own." + kNothingWritten);
    found.tabs[k] = tab;
  }
  return found;
}

// Without names the sheets are the first three tabs; sheet 1 must then look
// like the test, or the tabs were moved.
void checkTabsInOrder(Workbook& book, const std::vector<SheetTab>& tabs, const std::string& label) {
  const std::string withoutNames =
      " The workbook has no defined names for its sheets, so the analysis takes its first three sheets as the test, "
      "the initial analysis and the results, in this order.";
  if (tabs.size() < 3)
    throw Fault(FaultKind::Workbook, "the workbook " + label + " has " + std::to_string(tabs.size()) +
                                         (tabs.size() == 1 ? " sheet" : " sheets") +
                                         "; the analysis needs a workbook with at least three");
  for (int tab = 1; tab <= 3; ++tab)
    if (!tabs[std::size_t(tab - 1)].isWorksheet())
      throw Fault(FaultKind::Workbook, tabName(tabs, tab) + " of the workbook " + label + " is " +
                                           tabs[std::size_t(tab - 1)].otherKind + "." + withoutNames + kNothingWritten);
  for (int row = c::kNumPointsRow; row <= c::kTankVolumeRow; ++row) {
    const CellKind kind = book.cellKind(c::kTestSheet, row, c::kConditionColumn);
    if (kind == CellKind::Number) continue;
    std::string found = "holds " + std::string(cellKindText(kind));
    if (kind == CellKind::Text) {
      try {
        book.readNumber(c::kTestSheet, row, c::kConditionColumn);
        continue;  // text that reads as a number is read as that number
      } catch (const Fault& notNumber) {
        found = "is not a number (" + notNumber.text() + ")";
      }
    }
    throw Fault(FaultKind::Workbook, tabName(tabs, 1) + " of the workbook " + label +
                                         " does not hold a test: its cell " + a1Upper(row, c::kConditionColumn) + " (" +
                                         c::conditionName(row) + ") " + found + "." + withoutNames +
                                         " Move the tabs back into that order, or enter the test." + kNothingWritten);
  }
}

}  // namespace

TemplateTabs findTemplateSheets(Workbook& book, const std::string& label) {
  const std::vector<SheetTab> tabs = book.sheets();
  std::array<std::optional<DefinedName>, 3> names;
  bool anyNamed = false;
  for (std::size_t k = 0; k < 3; ++k) {
    names[k] = book.definedName(c::kSheetDefinedNames[k].name);
    anyNamed = anyNamed || names[k].has_value();
  }
  TemplateTabs found;
  if (anyNamed)
    found = namedTabs(tabs, names, label);
  else
    checkTabsInOrder(book, tabs, label);
  found.sheetCount = int(tabs.size());
  return found;
}

}  // namespace vk

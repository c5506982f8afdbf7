#include "intake/DiffuserSubmergence.h"

#include <cmath>

#include "module1/Fault.h"
#include "module1/NumberText.h"
#include "workbook/CellMap.h"

namespace vk {

namespace {

const std::string kName = std::string("\"") + cells::kDiffuserSubmergenceName + "\"";
const std::string kNoSsote = "; the workbook has no SSOTE.";

DiffuserSubmergence unusable(const std::string& why) {
  return {std::nullopt, "the defined name " + kName + why + kNoSsote};
}

}  // namespace

DiffuserSubmergence readDiffuserSubmergence(Workbook& book) {
  const std::optional<DefinedName> name = book.definedName(cells::kDiffuserSubmergenceName);
  if (!name) return {};
  if (!name->refersToCells()) return unusable(" refers to no cells (" + name->refersTo + ")");
  const CellRange& r = name->range;
  if (r.firstRow != r.lastRow || r.firstColumn != r.lastColumn)
    return unusable(" refers to " + name->refersTo + ", not to one cell");
  const std::string cell =
      " refers to sheet " + std::to_string(name->sheet) + ", cell " + a1Upper(r.firstRow, r.firstColumn) + ", which";
  double feet = 0;
  try {
    const CellKind kind = book.cellKind(name->sheet, r.firstRow, r.firstColumn);
    if (kind == CellKind::Empty) return {};
    if (kind != CellKind::Number && kind != CellKind::Text)
      return unusable(cell + " holds " + cellKindText(kind) + ", not the submergence in feet");
    feet = book.readNumber(name->sheet, r.firstRow, r.firstColumn);
  } catch (const Fault& unreadable) {
    return unusable(cell + " is not a number (" + unreadable.text() + ")");
  }
  if (!std::isfinite(feet) || feet <= 0)
    return unusable(cell + " holds " + numberText(feet) + ", not a submergence above 0 ft");
  return {feet, {}};
}

}  // namespace vk

#include "workbook/memory/MemoryWorkbook.h"

#include <cerrno>
#include <cstdlib>

#include "module1/Fault.h"
#include "workbook/A1.h"
#include "workbook/CellMap.h"
#include "workbook/CellText.h"

namespace vk {

MemoryWorkbook::MemoryWorkbook(std::string path, int sheets) : path_(std::move(path)), sheets_(sheets) {
  for (int sheet = 1; sheet <= sheets; ++sheet) tabs_.push_back({"Sheet" + std::to_string(sheet), {}, false});
  if (sheets >= 3)
    for (const cells::SheetDefinedName& n : cells::kSheetDefinedNames)
      defineName(n.name, n.sheet, cells::definedNameRange(n.sheet));
}

MemoryWorkbook::MemoryWorkbook(std::string path, const MemoryWorkbook& contents)
    : path_(std::move(path)), sheets_(contents.sheets_), cells_(contents.cells_) {}

void MemoryWorkbook::checkSheet(int sheet) const {
  if (sheet < 1 || sheet > sheets_)
    throw Fault(FaultKind::SubscriptOutOfRange, "the workbook " + path_ + " has no sheet " + std::to_string(sheet) +
                                                    " (it has " + std::to_string(sheets_) + ")");
}

double MemoryWorkbook::readNumber(int sheet, int row, int column) {
  checkSheet(sheet);
  log_.push_back({Op::Read, sheet, row, column, {}, {}});
  auto it = cells_.find({sheet, row, column});
  if (it == cells_.end()) return 0.0;
  const Cell& cell = it->second;
  if (cell.error)
    throw Fault(FaultKind::TypeMismatch,
                cellName(sheet, row, column) + " holds the error value " + *cell.text + ", not a number");
  if (cell.text) return numberFromText(*cell.text, sheet, row, column);
  return cell.value.asDouble();
}

CellKind MemoryWorkbook::cellKind(int sheet, int row, int column) {
  checkSheet(sheet);
  log_.push_back({Op::Kind, sheet, row, column, {}, {}});
  auto it = cells_.find({sheet, row, column});
  if (it == cells_.end()) return CellKind::Empty;
  if (it->second.error) return CellKind::Error;
  if (it->second.text) return CellKind::Text;
  return it->second.kind;
}

std::optional<DefinedName> MemoryWorkbook::definedName(std::string_view name) {
  auto it = names_.find(std::string(name));
  if (it == names_.end()) return std::nullopt;
  return it->second;
}

void MemoryWorkbook::write(int sheet, int row, int column, const Variant& value) {
  checkSheet(sheet);
  log_.push_back({Op::Write, sheet, row, column, value, {}});
  if (value.isEmpty())
    cells_.erase({sheet, row, column});
  else
    cells_[{sheet, row, column}] = Cell{value, std::nullopt, false};
}

void MemoryWorkbook::clearContents(int sheet, std::string_view range) {
  checkSheet(sheet);
  CellRange r = parseA1(range);
  log_.push_back({Op::Clear, sheet, 0, 0, {}, std::string(range)});
  for (auto it = cells_.lower_bound({sheet, r.firstRow, 0});
       it != cells_.end() && std::get<0>(it->first) == sheet && std::get<1>(it->first) <= r.lastRow;) {
    if (r.contains(std::get<1>(it->first), std::get<2>(it->first)))
      it = cells_.erase(it);
    else
      ++it;
  }
}

void MemoryWorkbook::select(int sheet, std::string_view cell) {
  checkSheet(sheet);
  parseA1(cell);
  log_.push_back({Op::Select, sheet, 0, 0, {}, std::string(cell)});
  selectedSheet_ = sheet;
}

void MemoryWorkbook::show(int sheet) {
  checkSheet(sheet);
  log_.push_back({Op::Show, sheet, 0, 0, {}, {}});
  if (!tabs_[std::size_t(sheet - 1)].hidden) shownSheet_ = sheet;  // a hidden sheet cannot be the active one
}

void MemoryWorkbook::runMacro(std::string_view name) {
  log_.push_back({Op::RunMacro, 0, 0, 0, {}, std::string(name)});
  if (name != "Redraw") throw Fault(FaultKind::Workbook, "the workbook has no macro \"" + std::string(name) + "\"");
}

void MemoryWorkbook::commit() { log_.push_back({Op::Commit, 0, 0, 0, {}, {}}); }

void MemoryWorkbook::discard() { log_.push_back({Op::Discard, 0, 0, 0, {}, {}}); }

void MemoryWorkbook::setText(int sheet, int row, int column, std::string text) {
  cells_[{sheet, row, column}] = Cell{{}, std::move(text), false};
}

void MemoryWorkbook::setError(int sheet, int row, int column, std::string error) {
  cells_[{sheet, row, column}] = Cell{{}, std::move(error), true};
}

void MemoryWorkbook::setBoolean(int sheet, int row, int column, bool value) {
  cells_[{sheet, row, column}] = Cell{Integer(value ? 1 : 0), std::nullopt, false, CellKind::Boolean};
}

void MemoryWorkbook::setDateTime(int sheet, int row, int column, double serial) {
  cells_[{sheet, row, column}] = Cell{Variant::dbl(serial), std::nullopt, false, CellKind::DateTime};
}

SheetTab& MemoryWorkbook::tab(int sheet) {
  checkSheet(sheet);
  return tabs_[std::size_t(sheet - 1)];
}

void MemoryWorkbook::defineName(const std::string& name, int sheet, const std::string& range,
                                const std::string& refersTo) {
  DefinedName defined;
  defined.sheet = sheet;
  if (sheet > 0) defined.range = parseA1(range);
  defined.refersTo = refersTo.empty() && sheet > 0 ? tabs_.at(std::size_t(sheet - 1)).name + "!" + range : refersTo;
  names_[name] = defined;
}

void MemoryWorkbook::removeName(const std::string& name) { names_.erase(name); }

Variant MemoryWorkbook::value(int sheet, int row, int column) const {
  auto it = cells_.find({sheet, row, column});
  return it == cells_.end() ? Variant() : it->second.value;
}

std::map<std::pair<int, int>, Variant> MemoryWorkbook::cells(int sheet) const {
  std::map<std::pair<int, int>, Variant> result;
  for (const auto& [key, cell] : cells_)
    if (std::get<0>(key) == sheet && !cell.value.isEmpty()) result[{std::get<1>(key), std::get<2>(key)}] = cell.value;
  return result;
}

std::shared_ptr<Workbook> MemoryEngine::bind(const std::string& path) { return book(path); }

std::shared_ptr<Workbook> MemoryEngine::bindCopy(const std::string& path, const std::string& copy) {
  auto made = std::make_shared<MemoryWorkbook>(copy, *book(path));
  books_[copy] = made;
  return made;
}

std::shared_ptr<MemoryWorkbook> MemoryEngine::book(const std::string& path) {
  auto& slot = books_[path];
  if (!slot) slot = std::make_shared<MemoryWorkbook>(path);
  return slot;
}

}  // namespace vk

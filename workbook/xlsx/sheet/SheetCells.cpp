#include "workbook/xlsx/sheet/SheetCells.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "workbook/xlsx/sheet/CellRef.h"
#include "workbook/xlsx/sheet/FormulaShift.h"

namespace vk::xlsx {

namespace {

// Smaller texts are not worth copying.
constexpr std::size_t kCompactAbove = std::size_t(1) << 20;

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), localName(name)) != names.end();
}

// A cheap look for a formula child before reading the cell properly.
bool mayHoldFormula(std::string_view element) {
  for (std::size_t at = element.find('f'); at != std::string_view::npos; at = element.find('f', at + 1)) {
    if (at == 0 || at + 1 >= element.size()) continue;
    char before = element[at - 1];
    char after = element[at + 1];
    if ((before == '<' || before == ':') &&
        (after == '>' || after == ' ' || after == '/' || after == '\t' || after == '\n' || after == '\r'))
      return true;
  }
  return false;
}

}  // namespace

void SheetCells::parse(std::string_view text, XmlScanner& scanner, std::string_view prefix, std::string_view where,
                       std::size_t maxDepth) {
  text_ = text;
  prefix_ = std::string(prefix);
  where_ = std::string(where);
  maxDepth_ = maxDepth;
  if (scanner.selfClosing()) return;
  const std::size_t depth = scanner.depth();
  for (;;) {
    XmlScanner::Token token = scanner.next();
    if (token == XmlScanner::Token::End && scanner.depth() == depth - 1) return;
    if (token == XmlScanner::Token::Text) continue;
    if (token != XmlScanner::Token::Start || localName(scanner.name()) != "row")
      scanner.fail("the cell table holds something other than rows");
    parseRow(scanner);
  }
}

void SheetCells::parseRow(XmlScanner& scanner) {
  Row row;
  parsing_.clear();
  row.offset = std::uint32_t(scanner.tokenBegin());
  row.tagLength = std::uint32_t(scanner.tokenEnd() - scanner.tokenBegin());
  int rowNumber = lastParsedRow_ + 1;
  std::string_view value;
  if (findAttribute(scanner.attributes(), "r", value)) {
    std::size_t end = 0;
    rowNumber = readRowDigits(value, end);
    if (rowNumber == 0 || end != value.size()) scanner.fail("a row number that is not one");
  } else {
    row.modified = true;  // written back with its number
    if (rowNumber > kMaxRows) scanner.fail("more rows than a sheet holds");
  }
  if (!scanner.selfClosing()) {
    const std::size_t depth = scanner.depth();
    int lastColumn = 0;
    bool ordered = true;
    std::size_t tailEnd = 0;
    for (;;) {
      XmlScanner::Token token = scanner.next();
      if (token == XmlScanner::Token::End && scanner.depth() == depth - 1) break;
      if (token != XmlScanner::Token::Start) continue;
      std::size_t begin = scanner.tokenBegin();
      if (localName(scanner.name()) != "c") {
        if (row.tailLength == 0 && tailEnd == 0) row.tailOffset = std::uint32_t(begin);
        tailEnd = scanner.skipElement();
        row.tailLength = std::uint32_t(tailEnd - row.tailOffset);
        continue;
      }
      Cell cell;
      cell.offset = std::uint32_t(begin);
      int column = lastColumn + 1;
      if (findAttribute(scanner.attributes(), "r", value)) {
        int cellRow = 0;
        if (!parseCellRef(value, cellRow, column)) scanner.fail("a cell reference that is not one");
        if (cellRow != rowNumber)
          scanner.fail("the cell " + std::string(value) + " stands in row " + std::to_string(rowNumber));
      } else {
        cell.hasRef = false;
        row.modified = true;
        if (column > kMaxColumns) scanner.fail("more cells in a row than a sheet holds");
      }
      cell.column = std::uint16_t(column);
      std::size_t end = scanner.skipTextOnlyElement("v");
      if (!end) end = scanner.skipElement();
      cell.length = std::uint32_t(end - begin);
      if (column <= lastColumn) ordered = false;
      lastColumn = column;
      parsing_.push_back(cell);
    }
    row.cells.assign(parsing_.begin(), parsing_.end());  // no room to spare: a sheet may hold a million
    if (!ordered) {
      std::stable_sort(row.cells.begin(), row.cells.end(),
                       [](const Cell& a, const Cell& b) { return a.column < b.column; });
      for (std::size_t i = 1; i < row.cells.size(); ++i)
        if (row.cells[i].column == row.cells[i - 1].column)
          scanner.fail("the cell " + cellRef(rowNumber, row.cells[i].column) + " appears twice");
      row.modified = true;
    }
  }
  row.length = std::uint32_t(scanner.tokenEnd() - row.offset);
  lastParsedRow_ = rowNumber;
  if (!rows_.emplace(rowNumber, std::move(row)).second)
    scanner.fail("row " + std::to_string(rowNumber) + " appears twice");
}

const SheetCells::Cell* SheetCells::find(int row, int column) const {
  auto r = rows_.end();
  if (hasLastFound_) {
    if (lastFound_->first == row)
      r = lastFound_;
    else if (auto next = std::next(lastFound_); next != rows_.end() && next->first == row)
      r = next;
  }
  if (r == rows_.end()) r = rows_.find(row);
  if (r == rows_.end()) return nullptr;
  lastFound_ = r;
  hasLastFound_ = true;
  const auto& cells = r->second.cells;
  auto c =
      std::lower_bound(cells.begin(), cells.end(), column, [](const Cell& cell, int col) { return cell.column < col; });
  return c != cells.end() && c->column == column ? &*c : nullptr;
}

CellContent SheetCells::content(const Cell& cell) const {
  return readCellContent(slice(cell.offset, cell.length), where_, maxDepth_);
}

std::uint32_t SheetCells::newCellStyle(const Row& row, int column) const {
  if (row.length) {
    std::string_view list = attributesOf(slice(row.offset, row.tagLength));
    std::string_view custom, style;
    if (findAttribute(list, "customFormat", custom) && isTrueValue(custom) && findAttribute(list, "s", style)) {
      std::uint32_t s = 0;
      for (char c : style) {
        if (c < '0' || c > '9' || s > 100000000) return 0;
        s = s * 10 + std::uint32_t(c - '0');
      }
      return s + 1;
    }
  }
  for (const ColumnStyle& cs : columnStyles_)
    if (column >= cs.first && column <= cs.last) return cs.style + 1;
  return 0;
}

SheetCells::Row& SheetCells::rowForWriting(int rowNumber) {
  if (!hasLastRow_ || lastRow_->first != rowNumber) {
    const auto next = hasLastRow_ ? std::next(lastRow_) : rows_.end();
    // The row after the last, or a new one just before it: found in constant time.
    lastRow_ = next != rows_.end() && next->first == rowNumber ? next : rows_.try_emplace(next, rowNumber);
    hasLastRow_ = true;
  }
  return lastRow_->second;
}

bool SheetCells::setNumber(int rowNumber, int column, double value) {
  Row& row = rowForWriting(rowNumber);
  auto& cells = row.cells;
  auto it =
      std::lower_bound(cells.begin(), cells.end(), column, [](const Cell& cell, int col) { return cell.column < col; });
  if (it != cells.end() && it->column == column) {
    Cell& cell = *it;
    if (cell.state == State::Number && std::memcmp(&cell.number, &value, sizeof value) == 0) return false;
    if (cell.state == State::Original) {
      // Written as it is already: nothing changes.
      char digits[32];
      const std::string_view text(digits,
                                  std::size_t(std::to_chars(digits, digits + sizeof digits, value).ptr - digits));
      if (auto now = plain(cell)) {
        if (now->type == "n" && now->hasValue && now->value == text) return false;
      } else if (CellContent now = content(cell);
                 now.type == "n" && !now.hasFormula && now.hasValue && now.value == text) {
        return false;
      }
    }
    noteLostFormula(rowNumber, cell);
    cell.state = State::Number;
    cell.number = value;
  } else {
    Cell cell;
    cell.column = std::uint16_t(column);
    cell.state = State::Number;
    cell.number = value;
    cell.style = newCellStyle(row, column);
    cells.insert(it, cell);
  }
  row.modified = true;
  return true;
}

void SheetCells::noteLostFormula(int rowNumber, const Cell& cell) {
  if (cell.state != State::Original && cell.state != State::Stale) return;
  if (!mayHoldFormula(slice(cell.offset, cell.length))) return;
  CellContent c = content(cell);
  if (c.hasFormula && c.formulaType == "shared" && !c.formula.empty())
    lostShared_[c.sharedIndex] = {rowNumber, cell.column, c.formula};
}

void SheetCells::keepSharedFormulas() {
  if (lostShared_.empty()) return;
  for (auto& [rowNumber, row] : rows_)
    for (Cell& cell : row.cells) {
      if ((cell.state != State::Original && cell.state != State::Stale) ||
          !mayHoldFormula(slice(cell.offset, cell.length)))
        continue;
      CellContent c = content(cell);
      if (c.formulaType != "shared" || !c.formula.empty()) continue;
      auto master = lostShared_.find(c.sharedIndex);
      if (master == lostShared_.end()) continue;
      ownFormulas_[{rowNumber, cell.column}] =
          shiftFormula(master->second.formula, rowNumber - master->second.row, cell.column - master->second.column);
      cell.state = State::Stale;
      row.modified = true;
    }
  lostShared_.clear();
}

bool SheetCells::clearCell(int rowNumber, Row& row, Cell& cell, bool& remove) {
  remove = false;
  bool hasStyle = false;
  switch (cell.state) {
    case State::Blank: return false;
    case State::Original:
    case State::Stale: {
      // An element without children holds no value; one with children is
      // taken to hold one (value, formula or string).
      std::string_view element = slice(cell.offset, cell.length);
      if (element.size() >= 2 && element.substr(element.size() - 2) == "/>") return false;
      std::string_view style;
      hasStyle = findAttribute(startTag(cell), "s", style);
      noteLostFormula(rowNumber, cell);
      break;
    }
    case State::Number: {
      std::string_view style;
      hasStyle = cell.length ? findAttribute(startTag(cell), "s", style) : cell.style != 0;
      break;
    }
  }
  row.modified = true;
  if (hasStyle) {
    cell.state = State::Blank;
    forgetText(cell);
  } else {
    remove = true;
    released_ += cell.length;
  }
  return true;
}

bool SheetCells::keepsEmptyRow(const Row& row) const {
  if (!row.length || row.tailLength) return row.tailLength != 0;
  XmlAttributes attributes(attributesOf(slice(row.offset, row.tagLength)));
  XmlAttribute a;
  while (attributes.next(a))
    if (!isOneOf(a.name, {"r", "spans", "dyDescent"})) return true;  // height, format, hidden ...
  return false;
}

bool SheetCells::clear(const CellRange& range) {
  hasLastRow_ = hasLastFound_ = false;  // rows may go
  bool changed = false;
  for (auto r = rows_.lower_bound(range.firstRow); r != rows_.end() && r->first <= range.lastRow;) {
    Row& row = r->second;
    auto& cells = row.cells;
    auto first = std::lower_bound(cells.begin(), cells.end(), range.firstColumn,
                                  [](const Cell& cell, int col) { return cell.column < col; });
    auto last = first;
    bool removeAny = false;
    for (; last != cells.end() && last->column <= range.lastColumn; ++last) {
      bool remove = false;
      if (clearCell(r->first, row, *last, remove)) changed = true;
      if (remove) {
        last->column = 0;  // marked for removal
        removeAny = true;
      }
    }
    if (removeAny) cells.erase(std::remove_if(first, last, [](const Cell& c) { return c.column == 0; }), last);
    if (cells.empty() && row.modified && !keepsEmptyRow(row)) {
      released_ += row.length;
      r = rows_.erase(r);
    } else {
      ++r;
    }
  }
  if (text_.size() >= kCompactAbove && released_ > text_.size() / 2) compactText();
  return changed;
}

void SheetCells::forEachFormula(const std::function<void(int, int, const CellContent&)>& visit) const {
  for (const auto& [rowNumber, row] : rows_)
    for (const Cell& cell : row.cells)
      if ((cell.state == State::Original || cell.state == State::Stale) &&
          mayHoldFormula(slice(cell.offset, cell.length))) {
        CellContent c = content(cell);
        if (c.hasFormula) visit(rowNumber, cell.column, c);
      }
}

bool SheetCells::stripResults(const std::function<bool(int, int, const CellContent&)>& strip) {
  bool changed = false;
  for (auto& [rowNumber, row] : rows_)
    for (Cell& cell : row.cells)
      if (cell.state == State::Original && mayHoldFormula(slice(cell.offset, cell.length))) {
        CellContent c = content(cell);
        if (c.hasFormula && c.hasValue && strip(rowNumber, cell.column, c)) {
          cell.state = State::Stale;
          row.modified = true;
          changed = true;
        }
      }
  return changed;
}

}  // namespace vk::xlsx

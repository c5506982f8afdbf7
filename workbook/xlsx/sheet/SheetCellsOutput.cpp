#include "workbook/xlsx/sheet/SheetCells.h"

#include <algorithm>

#include "workbook/xlsx/sheet/CellRef.h"

// Writing the cells back: rows as read unless they changed, changed rows
// regenerated cell by cell.

namespace vk::xlsx {

SheetCells::Bounds SheetCells::bounds() const {
  Bounds b;
  for (const auto& [rowNumber, row] : rows_) {
    if (row.cells.empty()) continue;
    if (b.firstRow == 0) {
      b.firstRow = rowNumber;
      b.firstColumn = row.cells.front().column;
      b.lastColumn = row.cells.back().column;
    }
    b.lastRow = rowNumber;
    b.firstColumn = std::min<int>(b.firstColumn, row.cells.front().column);
    b.lastColumn = std::max<int>(b.lastColumn, row.cells.back().column);
  }
  return b;
}

void SheetCells::emitRowTag(std::string& out, int rowNumber, const Row& row, bool empty) const {
  out += '<';
  out += prefix_;
  out += "row r=\"";
  appendInteger(out, rowNumber);
  out += '"';
  // The span of a changed row is no longer known; it is only a hint.
  if (row.length) appendAttributesExcept(out, attributesOf(slice(row.offset, row.tagLength)), {"r", "spans"});
  out += empty ? "/>" : ">";
}

void SheetCells::emitCell(std::string& out, int rowNumber, const Cell& cell) const {
  std::string_view element = slice(cell.offset, cell.length);
  if (cell.state == State::Original) {
    if (cell.hasRef) {
      out += element;
    } else {
      std::size_t nameEnd = 1;
      while (nameEnd < element.size() && element[nameEnd] != ' ' && element[nameEnd] != '>' &&
             element[nameEnd] != '/' && element[nameEnd] != '\t' && element[nameEnd] != '\n' &&
             element[nameEnd] != '\r')
        ++nameEnd;
      out += element.substr(0, nameEnd);
      out += " r=\"";
      appendCellRef(out, rowNumber, cell.column);
      out += '"';
      out += element.substr(nameEnd);
    }
    return;
  }
  if (cell.state == State::Number && !cell.length && prefix_.empty()) {
    appendNumberCell(out, rowNumber, cell.column, cell.style, cell.number);
    return;
  }
  out += '<';
  out += prefix_;
  out += "c r=\"";
  appendCellRef(out, rowNumber, cell.column);
  out += '"';
  if (cell.length) {
    // The type goes with the value; metadata of a dynamic array or rich value
    // goes with the formula that made it.
    if (cell.state == State::Stale)
      appendAttributesExcept(out, startTag(cell), {"r", "t", "vm"});
    else
      appendAttributesExcept(out, startTag(cell), {"r", "t", "vm", "cm"});
  } else if (cell.style) {
    out += " s=\"";
    appendInteger(out, cell.style - 1);
    out += '"';
  }
  switch (cell.state) {
    case State::Number:
      out += "><";
      out += prefix_;
      out += "v>";
      appendNumber(out, cell.number);
      out += "</";
      out += prefix_;
      out += "v></";
      out += prefix_;
      out += "c>";
      break;
    case State::Blank: out += "/>"; break;
    case State::Stale: {
      out += '>';
      if (auto own = ownFormulas_.find({rowNumber, cell.column}); own != ownFormulas_.end()) {
        out += '<';
        out += prefix_;
        out += "f>";
        appendEscaped(out, own->second);
        out += "</";
        out += prefix_;
        out += "f></";
        out += prefix_;
        out += "c>";
        break;
      }
      // Every child but the cached value, as read.
      XmlScanner scanner(element, where_, maxDepth_);
      scanner.next();
      const std::size_t depth = scanner.depth();
      for (;;) {
        XmlScanner::Token token = scanner.next();
        if (token == XmlScanner::Token::Done || (token == XmlScanner::Token::End && scanner.depth() == depth - 1))
          break;
        if (token != XmlScanner::Token::Start) continue;
        std::size_t begin = scanner.tokenBegin();
        bool value = localName(scanner.name()) == "v";
        std::size_t end = scanner.skipElement();
        if (!value) out += element.substr(begin, end - begin);
      }
      out += "</";
      out += prefix_;
      out += "c>";
      break;
    }
    case State::Original: break;
  }
}

void SheetCells::emit(std::string& out, const std::function<void()>& rowDone) const {
  for (const auto& [rowNumber, row] : rows_) {
    if (!row.modified) {
      out += slice(row.offset, row.length);
    } else if (row.cells.empty() && row.tailLength == 0) {
      emitRowTag(out, rowNumber, row, true);
    } else {
      emitRowTag(out, rowNumber, row, false);
      for (const Cell& cell : row.cells) emitCell(out, rowNumber, cell);
      out += slice(row.tailOffset, row.tailLength);
      out += "</";
      out += prefix_;
      out += "row>";
    }
    rowDone();
  }
}

}  // namespace vk::xlsx

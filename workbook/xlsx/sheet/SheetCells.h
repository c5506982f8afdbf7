#pragma once
// The cells of one worksheet, indexed by row and column. A cell read from the
// file is kept as the place of its XML text and written back unchanged; a
// cell the program writes, clears or recalculates is regenerated. Rows stay
// ascending, and cells ascending by column within a row.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/A1.h"
#include "workbook/xlsx/sheet/CellContent.h"
#include "workbook/xlsx/xml/XmlScan.h"

namespace vk::xlsx {

class SheetCells {
 public:
  enum class State : std::uint8_t {
    Original,  // as read
    Number,    // a number written by the program
    Blank,     // value and formula removed, format kept
    Stale,     // as read, less the cached result of its formula
  };
  struct Cell {
    double number = 0;         // Number
    std::uint32_t offset = 0;  // the element as read; length 0 for a new cell
    std::uint32_t length = 0;
    std::uint32_t style = 0;  // a new cell's format index + 1; 0 for none
    std::uint16_t column = 0;
    State state = State::Original;
    bool hasRef = true;  // the element as read has its r attribute
  };
  struct Row {
    std::uint32_t offset = 0;  // the element as read; length 0 for a new row
    std::uint32_t length = 0;
    std::uint32_t tagLength = 0;   // its start tag
    std::uint32_t tailOffset = 0;  // children after the cells (extLst)
    std::uint32_t tailLength = 0;
    bool modified = false;  // written back regenerated rather than as read
    std::vector<Cell> cells;
  };
  struct ColumnStyle {
    int first = 0;
    int last = 0;
    std::uint32_t style = 0;
  };
  struct Bounds {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;  // all 0 when no cell
  };

  // Reads the rows of a sheetData element whose start tag the scanner has
  // just returned, up to and including its end tag. `text` is the whole part,
  // given to keepText() once the part is read.
  void parse(std::string_view text, XmlScanner& scanner, std::string_view prefix, std::string_view where,
             std::size_t maxDepth);
  // Keeps the part's text, which the cells read from the file point into.
  void keepText(std::string text) {
    ownText_ = std::move(text);
    text_ = ownText_;
  }
  // How much of it is kept.
  std::size_t textSize() const { return text_.size(); }
  // Formats of whole columns, which a new cell takes as Excel does.
  void setColumnStyles(std::vector<ColumnStyle> styles) { columnStyles_ = std::move(styles); }

  const Cell* find(int row, int column) const;
  // The content of a cell read from the file.
  CellContent content(const Cell& cell) const;
  // The same without a copy, for a cell as read that holds at most its value.
  std::optional<PlainCell> plain(const Cell& cell) const {
    return cell.state == State::Original ? readPlainCell(slice(cell.offset, cell.length)) : std::nullopt;
  }

  // Each returns true when the sheet changed.
  bool setNumber(int row, int column, double value);
  bool clear(const CellRange& range);
  // Calls `strip` for every formula cell read with a cached result; the cells
  // for which it returns true lose that result.
  bool stripResults(const std::function<bool(int row, int column, const CellContent&)>& strip);
  // Calls `visit` for every formula cell as read.
  void forEachFormula(const std::function<void(int row, int column, const CellContent&)>& visit) const;

  // Cells that share the formula of a cell since overwritten or cleared get
  // a formula of their own; before writing the sheet back.
  void keepSharedFormulas();

  Bounds bounds() const;
  // Appends the rows, each written back as read unless it changed; calls
  // `rowDone` after each row, which may take the text away.
  void emit(std::string& out, const std::function<void()>& rowDone) const;

 private:
  void parseRow(XmlScanner& scanner);
  Row& rowForWriting(int row);
  std::uint32_t newCellStyle(const Row& row, int column) const;
  // Clears one cell; false when it held nothing to clear. Sets `remove` when
  // nothing of the cell needs to stay.
  bool clearCell(int rowNumber, Row& row, Cell& cell, bool& remove);
  bool keepsEmptyRow(const Row& row) const;
  // Notes the shared formula of a cell about to lose its formula.
  void noteLostFormula(int row, const Cell& cell);
  std::string_view slice(std::uint32_t offset, std::uint32_t length) const { return text_.substr(offset, length); }
  std::string_view startTag(const Cell& cell) const;
  std::uint32_t startTagLength(const Cell& cell) const;
  // A cleared cell whose start tag says no more than its format is made a
  // new cell of that format, so that its text as read is needed no more.
  void forgetText(Cell& cell);
  // Keeps only the text still needed, once most of it is not (a sheet whose
  // results were cleared): a results sheet of a million cells takes up 40 MB.
  void compactText();
  void emitCell(std::string& out, int row, const Cell& cell) const;
  void emitRowTag(std::string& out, int rowNumber, const Row& row, bool empty) const;

  std::string_view text_;
  std::string ownText_;
  std::size_t released_ = 0;   // bytes of text no cell needs any more, roughly
  std::vector<Cell> parsing_;  // the cells of the row being read
  std::string prefix_;         // of the cell elements' names ("x:"), from the sheetData element
  std::string where_;
  std::size_t maxDepth_ = 256;
  std::map<int, Row> rows_;
  // The rows last written and last found: the commands write a row's cells
  // one after another and read a column down its rows, so the next row
  // asked for is mostly this one or the one after it. (The cache of find()
  // makes a sheet one thread's at a time, as the engine's documents are.)
  std::map<int, Row>::iterator lastRow_;
  bool hasLastRow_ = false;
  mutable std::map<int, Row>::const_iterator lastFound_;
  mutable bool hasLastFound_ = false;
  int lastParsedRow_ = 0;
  std::vector<ColumnStyle> columnStyles_;
  struct SharedFormula {
    int row = 0, column = 0;
    std::string formula;
  };
  std::map<std::string, SharedFormula> lostShared_;         // by shared index
  std::map<std::pair<int, int>, std::string> ownFormulas_;  // (row, column) -> formula
};

}  // namespace vk::xlsx

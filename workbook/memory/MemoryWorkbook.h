#pragma once
// A workbook held in memory. It records every operation with its arguments
// and the type of every value written; tests use it to check the order and
// the types of what the commands do, and tests of the engines compare with it.
// It stands in for a workbook made from the template: with three sheets or
// more, the first three carry the template's defined names
// (workbook/CellMap.h) unless a test changes them.

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "workbook/Workbook.h"

namespace vk {

class MemoryWorkbook : public Workbook {
 public:
  enum class Op { Read, Kind, Write, Clear, Select, Show, RunMacro, Commit, Discard };
  struct Record {
    Op op;
    int sheet = 0;
    int row = 0;
    int column = 0;
    Variant value;     // Write
    std::string text;  // Clear / Select: the address; RunMacro: the name
  };

  explicit MemoryWorkbook(std::string path = "memory.xlsx", int sheets = 3);
  // A copy of the cells of `contents` under another path, with an empty log.
  MemoryWorkbook(std::string path, const MemoryWorkbook& contents);

  double readNumber(int sheet, int row, int column) override;
  CellKind cellKind(int sheet, int row, int column) override;
  std::vector<SheetTab> sheets() override { return tabs_; }
  std::optional<DefinedName> definedName(std::string_view name) override;
  void write(int sheet, int row, int column, const Variant& value) override;
  void clearContents(int sheet, std::string_view range) override;
  void select(int sheet, std::string_view cell) override;
  void show(int sheet) override;
  void runMacro(std::string_view name) override;
  void commit() override;
  // Logged only: what was written stays, for the tests to look at.
  void discard() override;
  const std::string& path() const override { return path_; }

  // Test set-up: a cell holding text (a number as text, or a word) or an error.
  void setText(int sheet, int row, int column, std::string text);
  void setError(int sheet, int row, int column, std::string error);
  // A logical value (reads as 1 or 0), a date or time (a serial day number).
  void setBoolean(int sheet, int row, int column, bool value);
  void setDateTime(int sheet, int row, int column, double serial);
  // The sheets' tabs, and the workbook's defined names: a name refers to the
  // range on the sheet, or to nothing of one sheet when `sheet` is 0.
  SheetTab& tab(int sheet);
  void defineName(const std::string& name, int sheet, const std::string& range, const std::string& refersTo = {});
  void removeName(const std::string& name);

  // What a cell holds now: its value (Empty when empty or text).
  Variant value(int sheet, int row, int column) const;
  // All non-empty cells of a sheet, ordered by (row, column).
  std::map<std::pair<int, int>, Variant> cells(int sheet) const;

  const std::vector<Record>& log() const { return log_; }
  void clearLog() { log_.clear(); }
  // The active sheet: the last one shown that is not hidden.
  int shownSheet() const { return shownSheet_; }
  int selectedSheet() const { return selectedSheet_; }

 private:
  struct Cell {
    Variant value;
    std::optional<std::string> text;
    bool error = false;
    CellKind kind = CellKind::Number;
  };
  using Key = std::tuple<int, int, int>;
  void checkSheet(int sheet) const;

  std::string path_;
  int sheets_;
  std::vector<SheetTab> tabs_;
  std::map<std::string, DefinedName> names_;
  std::map<Key, Cell> cells_;
  std::vector<Record> log_;
  int shownSheet_ = 0;
  int selectedSheet_ = 0;
};

// Binds paths to memory workbooks: the same path gives the same workbook.
class MemoryEngine : public WorkbookEngine {
 public:
  std::shared_ptr<Workbook> bind(const std::string& path) override;
  // The copy is a workbook of its own at `copy`, holding the cells of `path`.
  std::shared_ptr<Workbook> bindCopy(const std::string& path, const std::string& copy) override;
  std::string name() const override { return "memory"; }
  // It stands in for the embedded engine.
  std::vector<std::string> extensions() const override { return {"xlsx", "xlsm"}; }
  // The workbook of a path, made when first asked for.
  std::shared_ptr<MemoryWorkbook> book(const std::string& path);

 private:
  std::map<std::string, std::shared_ptr<MemoryWorkbook>> books_;
};

}  // namespace vk

#pragma once
// What the commands need of a workbook, and no more. The commands talk to the
// workbook through this interface only; they never know which engine is
// behind it. Sheets are addressed by their position (1 is the first), cells
// by 1-based row and column, ranges by lower-case A1 addresses.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "module1/Variant.h"
#include "workbook/CellKind.h"
#include "workbook/DefinedName.h"
#include "workbook/SheetTab.h"

namespace vk {

class Workbook {
 public:
  virtual ~Workbook() = default;

  // The cell's value as a number: an empty cell reads 0, text that reads as a
  // number gives that number; any other text or an error value is a "type
  // mismatch" fault naming the sheet and the cell.
  virtual double readNumber(int sheet, int row, int column) = 0;
  // What kind of value the cell holds; a formula gives the kind of its result.
  virtual CellKind cellKind(int sheet, int row, int column) = 0;
  // The sheets in tab order (the first is sheet 1).
  virtual std::vector<SheetTab> sheets() = 0;
  // The workbook-level defined name, when the workbook has one of that name
  // (names that belong to one sheet are not looked at).
  virtual std::optional<DefinedName> definedName(std::string_view name) = 0;
  // Writes the value with its type; Empty leaves the cell empty.
  virtual void write(int sheet, int row, int column, const Variant& value) = 0;
  // Clears values and formulas of an A1 range ("j45:aw700", "k43"); formats stay.
  virtual void clearContents(int sheet, std::string_view range) = 0;
  // Selects one cell ("a1") on the sheet.
  virtual void select(int sheet, std::string_view cell) = 0;
  // Makes the workbook visible with the sheet active. A hidden sheet stays
  // hidden, and the active sheet stays what it was.
  virtual void show(int sheet) = 0;
  // Runs a macro of the workbook by name ("Redraw").
  virtual void runMacro(std::string_view name) = 0;
  // Ends a command: what was written becomes durable (saved to the file, or
  // flushed to the spreadsheet application). Called also after a fault.
  virtual void commit() = 0;
  // Ends a command without keeping its work: what it wrote is given up and
  // the file is left as it was (a whole analysis that failed). What a
  // spreadsheet application already holds stays in its document, which is
  // then not stored.
  virtual void discard() = 0;

  // Whether the document this workbook was bound to is still open. A
  // spreadsheet application may close it (or end, or lose the link to this
  // program), and what it held unsaved goes with it; a workbook file stays.
  virtual bool stillOpen() { return true; }
  // Whether a spreadsheet application holds changes this program made to the
  // document that are not saved in its file yet. A workbook file is saved
  // by every commit, so it has none.
  virtual bool unsavedChanges() { return false; }
  // Saves the document into its file, in the file's own format; nothing to
  // do for a workbook file.
  virtual void save() {}

  // The full path the workbook was bound by.
  virtual const std::string& path() const = 0;
};

// Binds a path to a workbook: the same path gives the same open workbook.
class WorkbookEngine {
 public:
  virtual ~WorkbookEngine() = default;
  virtual std::shared_ptr<Workbook> bind(const std::string& path) = 0;
  // Binds the workbook file `path` so that what is committed goes to the
  // file `copy` instead, made or replaced whole; `path` is only read.
  // Binding `copy` afterwards gives this workbook.
  virtual std::shared_ptr<Workbook> bindCopy(const std::string& path, const std::string& copy);
  // A short name for the user ("embedded", "LibreOffice").
  virtual std::string name() const = 0;
  // The extensions of the files it opens, without the dot ("xlsx"); the
  // wizard lists those files.
  virtual std::vector<std::string> extensions() const = 0;
  // Told, while binding, when the engine starts the spreadsheet application
  // it works through, which takes a while; what it says is for the user
  // ("LibreOffice is starting..."). An empty function stops the telling.
  virtual void tellWhenStarting(std::function<void(const std::string& notice)> tell) { (void)tell; }
};

}  // namespace vk

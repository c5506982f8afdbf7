#include "workbook/uno/CalcWorkbook.h"

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include "module1/Fault.h"
#include "workbook/A1.h"
#include "workbook/CellText.h"
#include "workbook/uno/DocumentNames.h"
#include "workbook/uno/OfficeFault.h"
#include "workbook/uno/OfficeText.h"
#include "workbook/uno/Redraw.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

// What LibreOffice stores for a value: every number is a double (a Single
// as its exact double); an empty string leaves the cell empty.
css::uno::Any cellValue(const Variant& value) {
  if (value.isEmpty()) return css::uno::Any(rtl::OUString());
  return css::uno::Any(value.asDouble());
}

std::string cellText(const Reference<css::table::XCell>& cell) {
  return fromOffice(Reference<css::text::XTextRange>(cell, UNO_QUERY_THROW)->getString());
}

std::string blockName(int sheet, const WriteBlock& b) {
  return "write the cells " + a1Upper(b.firstRow, b.firstColumn) + ":" +
         a1Upper(b.firstRow + b.rows - 1, b.firstColumn + b.columns - 1) + " of sheet " + std::to_string(sheet);
}

// Screens stay still while blocks are written: one repaint of the document
// and its charts at the end instead of one per block.
class ControllerLock {
 public:
  ControllerLock(const Reference<css::frame::XModel>& model, const std::string& path) : model_(model) {
    officeCall([&] { return "write into the workbook " + path; }, [&] { model_->lockControllers(); });
  }
  ~ControllerLock() {
    try {
      model_->unlockControllers();
    } catch (const css::uno::Exception&) {
      // The document is gone; there is nothing left to unlock.
    }
  }
  ControllerLock(const ControllerLock&) = delete;
  ControllerLock& operator=(const ControllerLock&) = delete;

 private:
  Reference<css::frame::XModel> model_;
};

// What is left to say when the document went away while a command worked.
Fault lostWhileWorking(const std::string& path, const std::string& detail) {
  return Fault(FaultKind::Workbook,
               "the results could not all be written: the workbook " + path +
                   " was closed in LibreOffice, or LibreOffice ended, while the command was working, and what it "
                   "wrote there is lost",
               detail);
}

}  // namespace

CalcWorkbook::CalcWorkbook(std::shared_ptr<OfficeConnection> office, Reference<css::frame::XModel> document,
                           rtl::OUString url, std::string path, const LibreOfficeOptions& options,
                           std::optional<StoreTarget> store)
    : office_(std::move(office)),
      document_(std::move(document)),
      url_(std::move(url)),
      path_(std::move(path)),
      hidden_(options.loadHidden),
      buffered_(options.bufferWrites),
      store_(std::move(store)) {}

CalcWorkbook::~CalcWorkbook() {
  try {
    flushAll();
  } catch (...) {
    // Too late to report: the commands commit at their end, so this only
    // catches writes of a command that never ended, to a document that may
    // be gone.
  }
}

bool CalcWorkbook::alive() const {
  try {
    return document_.is() && document_->getURL() == url_;
  } catch (const css::uno::Exception&) {
    return false;
  }
}

const Reference<css::frame::XModel>& CalcWorkbook::doc() const {
  if (!document_.is())
    throw Fault(FaultKind::Workbook,
                "the workbook " + path_ + " was closed in LibreOffice, or the connection to LibreOffice was lost");
  return document_;
}

void CalcWorkbook::letGo() {
  document_.clear();
  office_.reset();
  pending_.clear();
  sheets_.clear();
  kinds_.reset();
  values_.forget();
}

void CalcWorkbook::changing() {
  begin();
  wroteInCommand_ = wroteHere_ = true;
  values_.forget();
}

void CalcWorkbook::endCommand() {
  sheets_.clear();
  kinds_.reset();
  values_.forget();
  inCommand_ = wroteInCommand_ = false;
}

void CalcWorkbook::dropCommand() {
  pending_.clear();
  endCommand();
}

void CalcWorkbook::lostInCommand() {
  dropCommand();
  throw lostWhileWorking(path_, {});
}

Reference<css::sheet::XSpreadsheet> CalcWorkbook::sheet(int index) {
  if (auto it = sheets_.find(index); it != sheets_.end()) return it->second;
  auto doing = [&] { return "reach sheet " + std::to_string(index) + " of " + path_; };
  Reference<css::container::XIndexAccess> sheets = onDocument(doing, [&] {
    return Reference<css::container::XIndexAccess>(
        Reference<css::sheet::XSpreadsheetDocument>(doc(), UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
  });
  const sal_Int32 count = onDocument(doing, [&] { return sheets->getCount(); });
  if (index < 1 || index > count)
    throw Fault(FaultKind::SubscriptOutOfRange, "the workbook " + path_ + " has no sheet " + std::to_string(index) +
                                                    " (it has " + std::to_string(count) + ")");
  auto sheet = onDocument(
      doing, [&] { return Reference<css::sheet::XSpreadsheet>(sheets->getByIndex(index - 1), UNO_QUERY_THROW); });
  return sheets_[index] = sheet;
}

double CalcWorkbook::readNumber(int s, int row, int column) {
  begin();
  flush(s);
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  return onDocument(
      [&] { return "read " + cellName(s, row, column); },
      [&]() -> double {
        if (buffered_)
          if (std::optional<double> number = values_.number(sheet, s, row, column)) return *number;
        // An error value (named from the cell) or a cell past the sheet's last row.
        Reference<css::table::XCell> cell = sheet->getCellByPosition(column - 1, row - 1);
        switch (cell->getType()) {
          case css::table::CellContentType_EMPTY: return 0.0;
          case css::table::CellContentType_VALUE: return cell->getValue();
          case css::table::CellContentType_TEXT: return numberFromText(cellText(cell), s, row, column);
          default: break;
        }
        // A formula: its result.
        if (cell->getError() != 0)
          throw Fault(FaultKind::TypeMismatch,
                      cellName(s, row, column) + " holds the error value " + cellText(cell) + ", not a number");
        sal_Int32 resultType = 0;
        Reference<css::beans::XPropertySet>(cell, UNO_QUERY_THROW)->getPropertyValue("FormulaResultType2") >>=
            resultType;
        if (resultType == css::sheet::FormulaResult::VALUE) return cell->getValue();
        return numberFromText(cellText(cell), s, row, column);
      });
}

CellKind CalcWorkbook::cellKind(int s, int row, int column) {
  begin();
  flush(s);
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  return onDocument([&] { return "look at " + cellName(s, row, column); },
                    [&] {
                      if (!kinds_) kinds_.emplace(doc());
                      return kinds_->of(sheet, s, row, column);
                    });
}

std::vector<SheetTab> CalcWorkbook::sheets() {
  begin();
  return onDocument([&] { return "list the sheets of " + path_; }, [&] { return sheetTabs(doc()); });
}

std::optional<DefinedName> CalcWorkbook::definedName(std::string_view name) {
  begin();
  return onDocument([&] { return "look up the defined name \"" + std::string(name) + "\" in " + path_; },
                    [&] { return documentDefinedName(doc(), name); });
}

void CalcWorkbook::write(int s, int row, int column, const Variant& value) {
  changing();
  sheet(s);  // a sheet that does not exist is a fault now, not at the flush
  if (kinds_) kinds_->forget(s);
  if (buffered_)
    pending_[s].put(row, column, value);
  else
    writeCell(s, row, column, value);
}

void CalcWorkbook::writeCell(int s, int row, int column, const Variant& value) {
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  onDocument([&] { return "write " + cellName(s, row, column); },
             [&] {
               Reference<css::table::XCell> cell = sheet->getCellByPosition(column - 1, row - 1);
               if (value.isEmpty())
                 cell->setFormula(rtl::OUString());  // an empty formula empties the cell
               else
                 cell->setValue(value.asDouble());
             });
}

void CalcWorkbook::writeBlock(int s, const WriteBlock& block) {
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  css::uno::Sequence<css::uno::Sequence<css::uno::Any>> rows(block.rows);
  auto* rowData = rows.getArray();
  for (int r = 0; r < block.rows; ++r) {
    rowData[r].realloc(block.columns);
    auto* cells = rowData[r].getArray();
    for (int c = 0; c < block.columns; ++c) cells[c] = cellValue(block.at(r, c));
  }
  onDocument(
      [&] { return blockName(s, block); },
      [&] {
        Reference<css::sheet::XCellRangeData> range(
            sheet->getCellRangeByPosition(block.firstColumn - 1, block.firstRow - 1,
                                          block.firstColumn + block.columns - 2, block.firstRow + block.rows - 2),
            UNO_QUERY_THROW);
        range->setDataArray(rows);
      });
}

void CalcWorkbook::flush(int s) {
  auto it = pending_.find(s);
  if (it == pending_.end() || it->second.empty()) return;
  // Taken out first: a write that failed is reported once, not at every later flush.
  std::vector<WriteBlock> blocks = it->second.takeBlocks();
  ControllerLock lock(doc(), path_);
  for (const WriteBlock& block : blocks) writeBlock(s, block);
}

void CalcWorkbook::flushAll() {
  bool waiting = false;
  for (const auto& [s, buffer] : pending_) waiting = waiting || !buffer.empty();
  if (!waiting) return;
  ControllerLock lock(doc(), path_);
  for (auto& [s, buffer] : pending_) flush(s);
}

void CalcWorkbook::clearContents(int s, std::string_view range) {
  changing();
  const CellRange r = parseA1(range);
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  if (auto it = pending_.find(s); it != pending_.end()) it->second.discard(r);
  if (kinds_) kinds_->forget(s);
  onDocument([&] { return "clear the cells " + std::string(range) + " of sheet " + std::to_string(s); },
             [&] {
               using namespace css::sheet::CellFlags;
               Reference<css::sheet::XSheetOperation> cells(
                   sheet->getCellRangeByPosition(r.firstColumn - 1, r.firstRow - 1, r.lastColumn - 1, r.lastRow - 1),
                   UNO_QUERY_THROW);
               cells->clearContents(VALUE | DATETIME | STRING | FORMULA);  // formats and notes stay
             });
}

void CalcWorkbook::select(int s, std::string_view cell) {
  begin();
  const CellRange r = parseA1(cell);
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  onDocument([&] { return "select " + cellName(s, r.firstRow, r.firstColumn); },
             [&] {
               Reference<css::view::XSelectionSupplier> view(doc()->getCurrentController(), UNO_QUERY_THROW);
               view->select(css::uno::Any(
                   sheet->getCellRangeByPosition(r.firstColumn - 1, r.firstRow - 1, r.lastColumn - 1, r.lastRow - 1)));
             });
}

void CalcWorkbook::show(int s) {
  begin();
  Reference<css::sheet::XSpreadsheet> sheet = this->sheet(s);
  onDocument([&] { return "show sheet " + std::to_string(s) + " of " + path_; },
             [&] {
               Reference<css::frame::XController> controller = doc()->getCurrentController();
               if (!controller.is())
                 throw Fault(FaultKind::Workbook, "the workbook " + path_ + " has no window in LibreOffice");
               if (!hidden_) {
                 Reference<css::awt::XWindow> window = controller->getFrame()->getContainerWindow();
                 window->setVisible(true);
                 if (Reference<css::awt::XTopWindow> top(window, UNO_QUERY); top.is()) top->toFront();
               }
               // Activating a hidden sheet would show it.
               bool visible = true;
               Reference<css::beans::XPropertySet>(sheet, UNO_QUERY_THROW)->getPropertyValue("IsVisible") >>= visible;
               if (visible) Reference<css::sheet::XSpreadsheetView>(controller, UNO_QUERY_THROW)->setActiveSheet(sheet);
             });
}

void CalcWorkbook::runMacro(std::string_view name) {
  changing();  // a macro changes the document as it likes
  flushAll();
  const std::string quoted = "\"" + std::string(name) + "\"";
  auto macro = onDocument([&] { return "look for the macro " + quoted + " in " + path_; },
                          [&] { return findDocumentMacro(doc(), name); });
  if (macro) {
    onDocument([&] { return "run the macro " + quoted + " of " + path_; }, [&] { runDocumentScript(doc(), *macro); });
    return;
  }
  if (name != "Redraw") throw Fault(FaultKind::Workbook, "the workbook " + path_ + " has no macro " + quoted);
  onDocument([&] { return "recalculate " + path_ + " and redraw its charts"; },
             [&] { recalculateAndRedrawCharts(doc()); });
}

void CalcWorkbook::commit() {
  const bool delivering = wroteInCommand_;
  try {
    flushAll();
  } catch (const Fault& failed) {
    endCommand();
    if (alive()) throw;
    pending_.clear();
    throw lostWhileWorking(path_, failed.detail());
  }
  endCommand();
  // Writes that reached a document which has gone since are not delivered either.
  if (delivering && !alive()) throw lostWhileWorking(path_, {});
  if (store_) storeDocument(doc(), *store_, path_);
}

void CalcWorkbook::discard() { dropCommand(); }

bool CalcWorkbook::unsavedChanges() {
  if (!wroteHere_) return false;
  try {
    return alive() && Reference<css::util::XModifiable>(doc(), UNO_QUERY_THROW)->isModified();
  } catch (const css::uno::Exception&) {
    return false;  // gone: nothing is left to save
  }
}

void CalcWorkbook::save() {
  flushAll();
  onDocument([&] { return "save the workbook " + path_; },
             [&] { Reference<css::frame::XStorable>(doc(), UNO_QUERY_THROW)->store(); });
}

}  // namespace vk

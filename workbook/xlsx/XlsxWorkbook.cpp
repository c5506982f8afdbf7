#include "workbook/xlsx/XlsxWorkbook.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "module1/Fault.h"
#include "workbook/A1.h"
#include "workbook/file/WritableFile.h"
#include "workbook/xlsx/XlsxDocument.h"

namespace vk::xlsx {

XlsxWorkbook::XlsxWorkbook(std::string path, std::string file, std::string source, const Limits& limits)
    : path_(std::move(path)),
      file_(std::move(file)),
      source_(source.empty() ? file_ : std::move(source)),
      limits_(limits),
      lock_(file_, path_) {
  checkWritable("; the results could not be saved in it");
  lock_.acquire();  // let go of by the lock's destructor if the load fails
  load();
}

XlsxWorkbook::~XlsxWorkbook() = default;

void XlsxWorkbook::checkWritable(const std::string& consequence) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::file_status status = fs::status(file_, ec);
  if (!fs::exists(status)) {
    if (!copyPending()) throw Fault(FaultKind::Workbook, "the workbook " + path_ + " does not exist" + consequence);
  } else {
    if (!fs::is_regular_file(status)) throw Fault(FaultKind::Workbook, path_ + " is not a workbook file");
    // Every command saves into the file, so it must be writable, and so must
    // its folder, where the new version is made.
    if (!writableFile(file_)) throw Fault(FaultKind::Workbook, "the workbook " + path_ + " is read-only" + consequence);
  }
  std::string folder = fs::path(file_).parent_path().string();
  if (::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) != 0)
    throw Fault(FaultKind::Workbook, "the folder of the workbook " + path_ + " is read-only" + consequence);
}

void XlsxWorkbook::load() {
  checkWritable("; the results could not be saved in it");
  DiskStamp stamp;
  std::string bytes = readWorkbookFile(source_, limits_.maxFileSize, stamp);
  document_ = std::make_unique<XlsxDocument>(std::move(bytes), label(), limits_);
  stamp_ = copyPending() ? stampOf(file_) : std::optional<DiskStamp>(stamp);
  dropped_ = false;
}

void XlsxWorkbook::changedOnDisk() {
  dropped_ = true;
  throw Fault(FaultKind::Workbook, "the workbook " + path_ +
                                       " was changed by another program since it was read; nothing was saved. Run "
                                       "the command again");
}

void XlsxWorkbook::refresh() {
  const bool lockedHere = !lock_.held();
  lock_.acquire();
  try {
    auto now = stampOf(file_);
    if (!now && !copyPending()) throw Fault(FaultKind::Workbook, "the workbook " + path_ + " does not exist any more");
    if (now == stamp_ && !dropped_) {
      // In the middle of a command only a change matters; the commit checks
      // again that the file can be written.
      if (!commandUnderWay_) checkWritable("; the results could not be saved in it");
      return;
    }
    // Read part-way through a command, the file would mix two versions: what
    // the command read or wrote before and the other program's work after.
    if (commandUnderWay_ || (document_ && document_->changed() && !dropped_)) changedOnDisk();
    load();
  } catch (const Fault&) {
    // A command that could not start holds nothing.
    if (lockedHere) lock_.release();
    throw;
  }
}

XlsxDocument& XlsxWorkbook::document() {
  if (!commandUnderWay_) lock_.acquire();  // a command that started without binding again
  if (!document_) load();                  // saved by the last command
  commandUnderWay_ = true;
  return *document_;
}

double XlsxWorkbook::readNumber(int sheet, int row, int column) { return document().readNumber(sheet, row, column); }

CellKind XlsxWorkbook::cellKind(int sheet, int row, int column) { return document().cellKind(sheet, row, column); }

std::vector<SheetTab> XlsxWorkbook::sheets() { return document().sheets(); }

std::optional<DefinedName> XlsxWorkbook::definedName(std::string_view name) { return document().definedName(name); }

void XlsxWorkbook::write(int sheet, int row, int column, const Variant& value) {
  document().write(sheet, row, column, value);
}

void XlsxWorkbook::clearContents(int sheet, std::string_view range) { document().clearContents(sheet, parseA1(range)); }

void XlsxWorkbook::select(int sheet, std::string_view cell) {
  CellRange r = parseA1(cell);
  document().select(sheet, r.firstRow, r.firstColumn);
}

void XlsxWorkbook::show(int sheet) { document().show(sheet); }

void XlsxWorkbook::runMacro(std::string_view name) {
  // The one macro the analysis runs is built into this engine.
  if (name != "Redraw")
    throw Fault(FaultKind::Workbook,
                "the workbook has no macro \"" + std::string(name) + "\"; this program runs only \"Redraw\"");
  document().requestRecalculation();
}

void XlsxWorkbook::commit() {
  struct Release {
    WriterLock& lock;
    ~Release() { lock.release(); }
  } release{lock_};
  commandUnderWay_ = false;
  // Dropped work was reported when it was dropped; there is nothing to save.
  if (dropped_ || !document_ || !document_->changed()) return;
  lock_.acquire();  // work left unsaved by an earlier commit that failed
  // The file read and the file written: one file unless a copy is made.
  std::vector<std::string> places{path_};
  if (file_ != path_) places.push_back(file_);
  for (const std::string& place : places)
    if (auto lock = foreignLockFile(place))
      throw Fault(FaultKind::Workbook, "the workbook " + path_ + " is open in another program (its lock file " + *lock +
                                           " is there); close it there and run the command again. Nothing "
                                           "was saved");
  checkWritable("; nothing was saved");
  if (stampOf(file_) != stamp_) changedOnDisk();
  auto saved = replaceFile(
      file_,
      [&](Replacement& file) {
        document_->render([&](std::uint64_t offset, std::string_view bytes) { file.writeAt(offset, bytes); });
      },
      stamp_, source_);
  if (!saved) changedOnDisk();
  stamp_ = saved;
  source_ = file_;
  // The next command goes on from what is now in the file, read when it
  // starts; a batch run ends here.
  document_.reset();
}

void XlsxWorkbook::discard() {
  commandUnderWay_ = false;
  if (!dropped_ && document_) document_ = std::make_unique<XlsxDocument>(document_->fileBytes(), label(), limits_);
  lock_.release();
}

}  // namespace vk::xlsx

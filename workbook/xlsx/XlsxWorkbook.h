#pragma once
// A workbook file bound by its path: the document in memory, the version of
// the file it was read from, and the save at the end of every command. A
// command starts with the first operation after a commit and ends with the
// next commit (or discard); the file is never read again in between, and
// this program holds the file's writer lock (WriterLock.h) all along.

#include <memory>
#include <optional>
#include <string>

#include "workbook/Workbook.h"
#include "workbook/file/WriterLock.h"
#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/SaveFile.h"

namespace vk::xlsx {

class XlsxDocument;

class XlsxWorkbook : public Workbook {
 public:
  // `path` as the caller gave it; `file` the file it resolves to, which the
  // commits write; `source` the file read, when it is another one (a copy
  // is made of it at the first commit). Faults when the file is missing,
  // read-only, not a workbook, or held by another program.
  XlsxWorkbook(std::string path, std::string file, std::string source = {}, const Limits& limits = {});
  ~XlsxWorkbook() override;

  // Binding again, at the start of a command: takes the writer lock. A file
  // changed on disk since it was read or saved is read again when nothing is
  // unsaved; otherwise that is the "changed by another program" fault, and
  // what was not saved is dropped: the next command starts from the file as
  // it is then.
  void refresh();
  // Whether a command has operated on it since its last commit (or discard).
  bool commandUnderWay() const { return commandUnderWay_; }

  double readNumber(int sheet, int row, int column) override;
  CellKind cellKind(int sheet, int row, int column) override;
  std::vector<SheetTab> sheets() override;
  std::optional<DefinedName> definedName(std::string_view name) override;
  void write(int sheet, int row, int column, const Variant& value) override;
  void clearContents(int sheet, std::string_view range) override;
  void select(int sheet, std::string_view cell) override;
  void show(int sheet) override;
  void runMacro(std::string_view name) override;
  // Ends the command: saves what changed (nothing when nothing did) and lets
  // go of the writer lock.
  void commit() override;
  // Ends the command: back to the file as it was read or last saved, with
  // nothing written; lets go of the writer lock.
  void discard() override;
  const std::string& path() const override { return path_; }

 private:
  void load();
  // Faults when the file or its folder cannot be written; `consequence` ends the message.
  void checkWritable(const std::string& consequence) const;
  // The "changed by another program" fault; the unsaved work is dropped.
  [[noreturn]] void changedOnDisk();
  XlsxDocument& document();
  bool copyPending() const { return source_ != file_; }
  // The file named in the faults of reading it.
  const std::string& label() const { return copyPending() ? source_ : path_; }

  std::string path_;
  std::string file_;
  std::string source_;
  Limits limits_;
  WriterLock lock_;
  std::optional<DiskStamp> stamp_;  // of the written file; none before a copy is made
  std::unique_ptr<XlsxDocument> document_;
  bool commandUnderWay_ = false;  // an operation since the last commit
  bool dropped_ = false;          // the document's unsaved work was given up
};

}  // namespace vk::xlsx

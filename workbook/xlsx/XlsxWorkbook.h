#pragma once
// A workbook file bound by its path: the document in memory, the version of
// the file it was read from, and the save at the end of every command.

#include <memory>
#include <string>

#include "workbook/Workbook.h"
#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/SaveFile.h"

namespace vk::xlsx {

class XlsxDocument;

class XlsxWorkbook : public Workbook {
 public:
  // `path` as the caller gave it; `file` the file it resolves to. Faults when
  // the file is missing, read-only or not a workbook.
  XlsxWorkbook(std::string path, std::string file, const Limits& limits = {});
  ~XlsxWorkbook() override;

  // Reads the file again when it changed on disk since it was read or saved.
  void refresh();

  double readNumber(int sheet, int row, int column) override;
  void write(int sheet, int row, int column, const Variant& value) override;
  void clearContents(int sheet, std::string_view range) override;
  void select(int sheet, std::string_view cell) override;
  void show(int sheet) override;
  void runMacro(std::string_view name) override;
  // Saves what changed; does nothing when nothing did.
  void commit() override;
  const std::string& path() const override { return path_; }

 private:
  void load();
  // Faults when the file or its folder cannot be written; `consequence` ends the message.
  void checkWritable(const std::string& consequence) const;

  std::string path_;
  std::string file_;
  Limits limits_;
  DiskStamp stamp_;
  std::unique_ptr<XlsxDocument> document_;
};

}  // namespace vk::xlsx

#pragma once
// The embedded workbook engine: edits .xlsx and .xlsm files inside this
// program, without a spreadsheet application. Every command's work is saved
// into the file when the command commits.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "workbook/Workbook.h"

namespace vk {

namespace xlsx {
class XlsxWorkbook;
}

class XlsxEngine : public WorkbookEngine {
 public:
  XlsxEngine();
  ~XlsxEngine() override;

  // The open workbook of a file: the same one for the same file, read again
  // when the file changed on disk since it was last read or saved. Faults
  // when the file is missing, read-only, or not a workbook with at least
  // three sheets.
  std::shared_ptr<Workbook> bind(const std::string& path) override;
  std::string name() const override { return "embedded"; }
  std::vector<std::string> extensions() const override { return {"xlsx", "xlsm"}; }

 private:
  std::map<std::string, std::shared_ptr<xlsx::XlsxWorkbook>> books_;  // by the file's real path
};

}  // namespace vk

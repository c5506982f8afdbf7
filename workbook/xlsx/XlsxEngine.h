#pragma once
// The embedded workbook engine: edits .xlsx and .xlsm files inside this
// program, without a spreadsheet application. Every command's work is saved
// into the file when the command commits; while a command runs, this program
// holds the file's writer lock, so no other program writes it meanwhile.

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
  // three sheets, and when another program holds it for writing.
  std::shared_ptr<Workbook> bind(const std::string& path) override;
  // The workbook of `path`, whose commits write `copy` (made, or replaced
  // when it is still the file that was there at binding).
  std::shared_ptr<Workbook> bindCopy(const std::string& path, const std::string& copy) override;
  std::string name() const override { return "embedded"; }
  std::vector<std::string> extensions() const override { return {"xlsx", "xlsm"}; }

 private:
  std::map<std::string, std::shared_ptr<xlsx::XlsxWorkbook>> books_;  // by the file's real path
  // The path bound last and its workbook: bound again in the middle of that
  // workbook's command, it is found without looking at the disk.
  std::string lastPath_;
  std::weak_ptr<xlsx::XlsxWorkbook> lastBook_;
};

}  // namespace vk

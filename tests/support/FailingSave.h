#pragma once
// A workbook in memory whose save fails, as on a full disk: every commit is
// logged as an attempt and then raises the fault the embedded engine raises.

#include <memory>
#include <string>
#include <vector>

#include "module1/Fault.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

class FailingSaveBook : public MemoryWorkbook {
 public:
  static constexpr const char* kReason =
      "cannot write the temporary file /lab/.test.xlsx.saving-Xy12Zq: No space left on device";

  using MemoryWorkbook::MemoryWorkbook;
  void commit() override {
    MemoryWorkbook::commit();
    throw Fault(FaultKind::Workbook, kReason);
  }
};

// Binds every path to the one failing workbook.
class FailingSaveEngine : public WorkbookEngine {
 public:
  std::shared_ptr<FailingSaveBook> book = std::make_shared<FailingSaveBook>("/lab/test.xlsx");
  std::shared_ptr<Workbook> bind(const std::string&) override { return book; }
  std::string name() const override { return "failing save"; }
  std::vector<std::string> extensions() const override { return {"xlsx"}; }
};

}  // namespace vk::test

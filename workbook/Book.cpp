#include "workbook/Book.h"

#include <filesystem>

#include "module1/Fault.h"

namespace vk {

void OpenBook(Module1& m) {
  if (!m.Engine) throw Fault(FaultKind::Workbook, "no spreadsheet engine is available");
  if (m.WorkbookPath.empty()) throw Fault(FaultKind::Workbook, "no workbook has been chosen");
  std::shared_ptr<Workbook> book = m.Engine->bind(m.WorkbookPath);
  std::string name = std::filesystem::path(book->path()).filename().string();
  if (!m.WorkbookName.empty() && name != m.WorkbookName)
    throw Fault(FaultKind::Workbook, "there is no open workbook named " + m.WorkbookName);
  m.FileBook = book;
  m.DataBook = book;
}

Workbook& dataBook(Module1& m) {
  if (!m.DataBook) throw Fault(FaultKind::Workbook, "no workbook is attached: open one first");
  return *m.DataBook;
}

void ShowBook(Module1& m, Integer sheet) {
  if (!m.FileBook) throw Fault(FaultKind::Workbook, "no workbook is attached: open one first");
  m.FileBook->show(sheet);
}

}  // namespace vk

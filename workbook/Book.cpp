#include "workbook/Book.h"

#include <filesystem>

#include "module1/Fault.h"
#include "workbook/TemplateBook.h"

namespace vk {

void OpenBook(Module1& m) {
  if (!m.Engine) throw Fault(FaultKind::Workbook, "no spreadsheet engine is available");
  if (m.WorkbookPath.empty()) throw Fault(FaultKind::Workbook, "no workbook has been chosen");
  std::shared_ptr<Workbook> bound = m.Engine->bind(m.WorkbookPath);
  std::string name = std::filesystem::path(bound->path()).filename().string();
  if (!m.WorkbookName.empty() && name != m.WorkbookName)
    throw Fault(FaultKind::Workbook, "there is no open workbook named " + m.WorkbookName);
  auto book = std::dynamic_pointer_cast<TemplateBook>(m.DataBook);
  if (!book || book->tabs() != bound) book = std::make_shared<TemplateBook>(bound);
  // The sheets are found before the command writes anything.
  try {
    book->findSheets();
  } catch (const Fault&) {
    // Attached outside a command (the Open command), the refusal ends the
    // engine's command too; nothing was written, so nothing is kept.
    if (!m.CommandUnderWay) bound->discard();
    throw;
  }
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

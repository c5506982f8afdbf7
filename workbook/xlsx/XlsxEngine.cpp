#include "workbook/xlsx/XlsxEngine.h"

#include "module1/Fault.h"
#include "workbook/file/PhysicalPath.h"
#include "workbook/xlsx/XlsxWorkbook.h"

namespace vk {

XlsxEngine::XlsxEngine() = default;
XlsxEngine::~XlsxEngine() = default;

namespace {

// Workbooks are kept by the file their path ends at.
std::string realFile(const std::string& path) {
  if (path.empty()) throw Fault(FaultKind::Workbook, "no workbook path was given");
  return resolvedFile(path);
}

}  // namespace

std::shared_ptr<Workbook> XlsxEngine::bind(const std::string& path) {
  const std::string file = realFile(path);
  auto it = books_.find(file);
  if (it != books_.end()) {
    it->second->refresh();
    return it->second;
  }
  auto book = std::make_shared<xlsx::XlsxWorkbook>(path, file);
  books_.emplace(file, book);
  return book;
}

std::shared_ptr<Workbook> XlsxEngine::bindCopy(const std::string& path, const std::string& copy) {
  const std::string source = realFile(path), file = realFile(copy);
  books_.erase(file);  // the copy takes the place of what was bound there
  auto book = std::make_shared<xlsx::XlsxWorkbook>(copy, file, source);
  books_.emplace(file, book);
  return book;
}

}  // namespace vk

#include "workbook/xlsx/XlsxEngine.h"

#include <filesystem>

#include "module1/Fault.h"
#include "workbook/xlsx/XlsxWorkbook.h"

namespace vk {

XlsxEngine::XlsxEngine() = default;
XlsxEngine::~XlsxEngine() = default;

std::shared_ptr<Workbook> XlsxEngine::bind(const std::string& path) {
  namespace fs = std::filesystem;
  if (path.empty()) throw Fault(FaultKind::Workbook, "no workbook path was given");
  std::error_code ec;
  fs::path file = fs::weakly_canonical(fs::absolute(path, ec), ec);
  if (ec) file = fs::absolute(path);
  auto it = books_.find(file.string());
  if (it != books_.end()) {
    it->second->refresh();
    return it->second;
  }
  auto book = std::make_shared<xlsx::XlsxWorkbook>(path, file.string());
  books_.emplace(file.string(), book);
  return book;
}

}  // namespace vk

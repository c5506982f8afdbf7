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
  // The Reading binds once per data set and threshold: the path bound last,
  // in the middle of its workbook's command, needs no resolving again.
  if (auto book = lastBook_.lock(); book && path == lastPath_ && book->commandUnderWay()) {
    book->refresh();
    return book;
  }
  const std::string file = realFile(path);
  auto it = books_.find(file);
  if (it == books_.end()) {
    it = books_.emplace(file, std::make_shared<xlsx::XlsxWorkbook>(path, file)).first;
  } else {
    it->second->refresh();
  }
  lastPath_ = path;
  lastBook_ = it->second;
  return it->second;
}

std::shared_ptr<Workbook> XlsxEngine::bindCopy(const std::string& path, const std::string& copy) {
  const std::string source = realFile(path), file = realFile(copy);
  books_.erase(file);  // the copy takes the place of what was bound there
  auto book = std::make_shared<xlsx::XlsxWorkbook>(copy, file, source);
  books_.emplace(file, book);
  lastPath_ = copy;
  lastBook_ = book;
  return book;
}

}  // namespace vk

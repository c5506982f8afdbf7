#include "workbook/Workbook.h"

#include "module1/Fault.h"

namespace vk {

std::shared_ptr<Workbook> WorkbookEngine::bindCopy(const std::string& path, const std::string& copy) {
  throw Fault(FaultKind::Workbook, "the " + name() + " engine cannot write " + path + " into a copy (" + copy + ")");
}

}  // namespace vk

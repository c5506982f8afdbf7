#include "workbook/uno/OfficeFault.h"

#include "module1/Fault.h"
#include "workbook/uno/OfficeText.h"

namespace vk {

void officeFault(const std::string& doing, const css::uno::Exception& error, bool disposed) {
  std::string why = fromOffice(error.Message);
  // The message may carry the source location of LibreOffice's code after a newline.
  if (auto newline = why.find('\n'); newline != std::string::npos) why.erase(newline);
  if (disposed)
    why = "the workbook was closed or LibreOffice has ended" + (why.empty() ? "" : " (" + why + ")");
  else if (why.empty())
    why = "it reported no reason";
  throw Fault(FaultKind::Workbook, "LibreOffice failed to " + doing + ": " + why);
}

}  // namespace vk

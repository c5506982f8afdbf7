#include "workbook/uno/DocumentStore.h"

#include <sys/stat.h>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XStorable.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/file/PhysicalPath.h"
#include "workbook/file/Replacement.h"
#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/OfficeFault.h"

namespace vk {

namespace {

// LibreOffice's filter for a file of this extension, so that a stored
// workbook keeps the format its name promises.
rtl::OUString filterFor(const std::string& path) {
  const std::string ext = asciiLowerCase(std::filesystem::path(path).extension().string());
  if (ext == ".xlsx") return "Calc MS Excel 2007 XML";
  if (ext == ".xlsm") return "Calc MS Excel 2007 VBA XML";
  if (ext == ".xls") return "MS Excel 97";
  if (ext == ".ods") return "calc8";
  throw Fault(FaultKind::Workbook, "cannot store a workbook as " + path +
                                       ": the extension is not .xlsx, "
                                       ".xlsm, .xls or .ods");
}

}  // namespace

StoreTarget storeTarget(const std::string& file, const std::string& model) {
  const std::string resolved = resolvedFile(file);
  return StoreTarget{resolved, stampOf(resolved), resolvedFile(model)};
}

void storeDocument(const css::uno::Reference<css::frame::XModel>& document, StoreTarget& target,
                   const std::string& label) {
  const rtl::OUString filter = filterFor(target.file);
  struct stat like;
  if (::stat(target.model.c_str(), &like) != 0)
    throw Fault(FaultKind::Workbook, "cannot store the workbook " + label + ": " + std::strerror(errno));
  Replacement next(target.file);
  css::uno::Sequence<css::beans::PropertyValue> arguments(2);
  arguments.getArray()[0].Name = "FilterName";
  arguments.getArray()[0].Value <<= filter;
  arguments.getArray()[1].Name = "Overwrite";
  arguments.getArray()[1].Value <<= true;
  officeCall([&] { return "store the workbook into " + target.file; },
             [&] {
               css::uno::Reference<css::frame::XStorable>(document, css::uno::UNO_QUERY_THROW)
                   ->storeToURL(fileUrl(next.temporaryPath()), arguments);
             });
  next.finish(like, target.model == target.file);
  if (!next.putInPlace(target.expected))
    throw Fault(FaultKind::Workbook,
                "the workbook " + label + " was changed by another program since it was loaded; nothing was saved");
  target.expected = stampOf(target.file);
  target.model = target.file;
}

}  // namespace vk

#include "workbook/uno/DocumentBinding.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <osl/file.hxx>
#include <rtl/ref.hxx>

#include <filesystem>
#include <iterator>

#include "module1/Fault.h"
#include "workbook/uno/AbortingInteractionHandler.h"
#include "workbook/uno/OfficeFault.h"
#include "workbook/uno/OfficeText.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

css::beans::PropertyValue property(const char* name, const css::uno::Any& value) {
  css::beans::PropertyValue p;
  p.Name = rtl::OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

// The open document with one of the URLs, matched by the full URL (two
// windows may show files of the same name from different folders).
Reference<css::frame::XModel> findOpenDocument(const OfficeConnection& office, const rtl::OUString& url,
                                               const rtl::OUString& resolvedUrl) {
  Reference<css::container::XEnumeration> documents = office.desktop()->getComponents()->createEnumeration();
  while (documents->hasMoreElements()) {
    Reference<css::frame::XModel> model(documents->nextElement(), UNO_QUERY);
    if (!model.is()) continue;
    const rtl::OUString open = model->getURL();
    if (open == url || open == resolvedUrl) return model;
  }
  return {};
}

void checkSpreadsheet(const Reference<css::frame::XModel>& model, const std::string& path, bool loadedHere) {
  if (Reference<css::sheet::XSpreadsheetDocument>(model, UNO_QUERY).is()) return;
  if (loadedHere) {
    Reference<css::util::XCloseable> closeable(model, UNO_QUERY);
    if (closeable.is()) closeable->close(true);
  }
  throw Fault(FaultKind::Workbook, "the file " + path + " is not a spreadsheet workbook");
}

}  // namespace

rtl::OUString fileUrl(const std::string& absolutePath) {
  rtl::OUString url;
  if (osl::FileBase::getFileURLFromSystemPath(toOffice(absolutePath), url) != osl::FileBase::E_None)
    throw Fault(FaultKind::Workbook, "\"" + absolutePath + "\" is not a usable file path");
  return url;
}

BoundDocument bindDocument(const OfficeConnection& office, const std::string& absolutePath, bool hidden,
                           bool refuseOpen) {
  namespace fs = std::filesystem;
  const std::string& path = absolutePath;
  BoundDocument bound;
  bound.url = fileUrl(path);
  std::error_code error;
  const fs::path resolved = fs::weakly_canonical(path, error);
  const rtl::OUString resolvedUrl = error ? bound.url : fileUrl(resolved.string());

  bound.model = officeCall([&] { return "look for " + path + " among the open documents"; },
                           [&] { return findOpenDocument(office, bound.url, resolvedUrl); });
  if (bound.model.is()) {
    if (refuseOpen)
      throw Fault(FaultKind::Workbook, "the workbook " + path +
                                           " is open in LibreOffice: an analysis that writes the file once, or not "
                                           "at all, needs a workbook nobody has open; close it there and try again");
    checkSpreadsheet(bound.model, path, false);
    bound.url = bound.model->getURL();
    return bound;
  }

  if (!fs::exists(path, error)) throw Fault(FaultKind::Workbook, "the workbook file " + path + " does not exist");
  if (fs::is_directory(path, error)) throw Fault(FaultKind::Workbook, path + " is a folder, not a workbook file");

  rtl::Reference<AbortingInteractionHandler> handler = new AbortingInteractionHandler;
  const css::beans::PropertyValue properties[] = {
      property("Hidden", css::uno::Any(hidden)),
      // This document's own macros ("Redraw") may run; the office's security
      // settings stay as the user has them for every other document.
      property("MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::ALWAYS_EXECUTE_NO_WARN)),
      property("UpdateDocMode", css::uno::Any(css::document::UpdateDocMode::NO_UPDATE)),
      property("InteractionHandler", css::uno::Any(Reference<css::task::XInteractionHandler>(handler.get()))),
  };
  const css::uno::Sequence<css::beans::PropertyValue> arguments(properties, std::size(properties));
  // The question LibreOffice asked says why in words; its own message is for --verbose.
  auto cannotOpen = [&](const std::string& message) {
    std::string why = handler->refusedReason();
    if (why.empty()) why = plainOfficeText(message);
    if (why.empty()) why = "it gave no reason";
    std::string detail = handler->refusedRequest();
    if (!message.empty()) detail += (detail.empty() ? "" : "; ") + message;
    return Fault(FaultKind::Workbook, "LibreOffice could not open the workbook " + path + ": " + why, detail);
  };
  Reference<css::lang::XComponent> component;
  try {
    component = office.desktop()->loadComponentFromURL(bound.url, "_blank", 0, arguments);
  } catch (const css::lang::DisposedException& lost) {
    officeFault("open the workbook " + path, lost, true);
  } catch (const css::uno::Exception& failure) {
    throw cannotOpen(fromOffice(failure.Message));
  }
  bound.model.set(component, UNO_QUERY);
  if (!bound.model.is()) throw cannotOpen({});
  bound.loadedHere = true;
  checkSpreadsheet(bound.model, path, true);
  bound.url = bound.model->getURL();
  return bound;
}

}  // namespace vk

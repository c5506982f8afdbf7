#include "workbook/uno/Redraw.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XEmbeddedObjectSupplier.hpp>
#include <com/sun/star/document/XEmbeddedScripts.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/script/XLibraryContainerPassword.hpp>
#include <com/sun/star/script/provider/XScript.hpp>
#include <com/sun/star/script/provider/XScriptProviderSupplier.hpp>
#include <com/sun/star/sheet/XCalculatable.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XTableChartsSupplier.hpp>
#include <com/sun/star/util/XUpdatable.hpp>

#include "workbook/uno/MacroSource.h"
#include "workbook/uno/OfficeText.h"

namespace vk {

using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

std::optional<rtl::OUString> findDocumentMacro(const Reference<css::frame::XModel>& document, std::string_view name) {
  Reference<css::document::XEmbeddedScripts> scripts(document, UNO_QUERY);
  if (!scripts.is()) return std::nullopt;
  Reference<css::script::XLibraryContainer> libraries(scripts->getBasicLibraries(), UNO_QUERY);
  if (!libraries.is()) return std::nullopt;
  Reference<css::script::XLibraryContainerPassword> passwords(libraries, UNO_QUERY);
  Reference<css::container::XNameAccess> byName(libraries, UNO_QUERY_THROW);
  for (const rtl::OUString& library : byName->getElementNames()) {
    // A library behind a password cannot be read without it; skip it.
    if (passwords.is() && passwords->isLibraryPasswordProtected(library) &&
        !passwords->isLibraryPasswordVerified(library))
      continue;
    if (!libraries->isLibraryLoaded(library)) libraries->loadLibrary(library);
    Reference<css::container::XNameAccess> modules(byName->getByName(library), UNO_QUERY);
    if (!modules.is()) continue;
    for (const rtl::OUString& module : modules->getElementNames()) {
      rtl::OUString source;
      if (!(modules->getByName(module) >>= source)) continue;
      if (declaresSub(fromOffice(source), name))
        return "vnd.sun.star.script:" + library + "." + module + "." + toOffice(name) +
               "?language=Basic&location=document";
    }
  }
  return std::nullopt;
}

void runDocumentScript(const Reference<css::frame::XModel>& document, const rtl::OUString& url) {
  Reference<css::script::provider::XScriptProviderSupplier> supplier(document, UNO_QUERY_THROW);
  Reference<css::script::provider::XScript> script = supplier->getScriptProvider()->getScript(url);
  css::uno::Sequence<sal_Int16> outIndices;
  css::uno::Sequence<css::uno::Any> outValues;
  script->invoke({}, outIndices, outValues);
}

void recalculateAndRedrawCharts(const Reference<css::frame::XModel>& document) {
  Reference<css::sheet::XCalculatable>(document, UNO_QUERY_THROW)->calculateAll();
  Reference<css::sheet::XSpreadsheetDocument> spreadsheet(document, UNO_QUERY_THROW);
  Reference<css::container::XIndexAccess> sheets(spreadsheet->getSheets(), UNO_QUERY_THROW);
  for (sal_Int32 s = 0; s < sheets->getCount(); ++s) {
    Reference<css::table::XTableChartsSupplier> sheet(sheets->getByIndex(s), UNO_QUERY);
    if (!sheet.is()) continue;
    Reference<css::container::XIndexAccess> charts(sheet->getCharts(), UNO_QUERY_THROW);
    for (sal_Int32 c = 0; c < charts->getCount(); ++c) {
      Reference<css::document::XEmbeddedObjectSupplier> chart(charts->getByIndex(c), UNO_QUERY);
      if (!chart.is()) continue;
      Reference<css::util::XUpdatable> model(chart->getEmbeddedObject(), UNO_QUERY);
      if (model.is()) model->update();
    }
  }
}

}  // namespace vk

#include "tests/uno/TestDocuments.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/document/XEmbeddedScripts.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/script/XLibraryContainer.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/OfficeText.h"

namespace vk::test {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

css::uno::Sequence<css::beans::PropertyValue> properties(const char* name, const css::uno::Any& value) {
  css::uno::Sequence<css::beans::PropertyValue> p(1);
  p.getArray()[0].Name = rtl::OUString::createFromAscii(name);
  p.getArray()[0].Value = value;
  return p;
}

}  // namespace

Document newWorkbook(OfficeConnection& office) {
  Document doc(office.desktop()->loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                                      properties("Hidden", css::uno::Any(true))),
               UNO_QUERY_THROW);
  Reference<css::sheet::XSpreadsheets> sheets =
      Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets();
  while (Reference<css::container::XIndexAccess>(sheets, UNO_QUERY_THROW)->getCount() < 3) {
    const sal_Int16 count =
        static_cast<sal_Int16>(Reference<css::container::XIndexAccess>(sheets, UNO_QUERY_THROW)->getCount());
    sheets->insertNewByName("Sheet" + rtl::OUString::number(count + 1), count);
  }
  return doc;
}

Document openAsUser(OfficeConnection& office, const std::string& path, bool readOnly) {
  return Document(office.desktop()->loadComponentFromURL(fileUrl(path), "_blank", 0,
                                                         properties("ReadOnly", css::uno::Any(readOnly))),
                  UNO_QUERY_THROW);
}

Document openDocument(OfficeConnection& office, const std::string& path) {
  const rtl::OUString url = fileUrl(path);
  Reference<css::container::XEnumeration> all = office.desktop()->getComponents()->createEnumeration();
  while (all->hasMoreElements()) {
    Document doc(all->nextElement(), css::uno::UNO_QUERY);
    if (doc.is() && doc->getURL() == url) return doc;
  }
  return {};
}

bool isOpen(OfficeConnection& office, const std::string& path) { return openDocument(office, path).is(); }

Reference<css::table::XCell> cell(const Document& doc, int sheet, int row, int column) {
  Reference<css::container::XIndexAccess> sheets(
      Reference<css::sheet::XSpreadsheetDocument>(doc, UNO_QUERY_THROW)->getSheets(), UNO_QUERY_THROW);
  Reference<css::sheet::XSpreadsheet> s(sheets->getByIndex(sheet - 1), UNO_QUERY_THROW);
  return s->getCellByPosition(column - 1, row - 1);
}

void setNumber(const Document& doc, int sheet, int row, int column, double value) {
  cell(doc, sheet, row, column)->setValue(value);
}

void setFormula(const Document& doc, int sheet, int row, int column, const std::string& formula) {
  cell(doc, sheet, row, column)->setFormula(toOffice(formula));
}

void setText(const Document& doc, int sheet, int row, int column, const std::string& text) {
  Reference<css::text::XTextRange>(cell(doc, sheet, row, column), UNO_QUERY_THROW)->setString(toOffice(text));
}

std::string formulaOf(const Document& doc, int sheet, int row, int column) {
  return fromOffice(cell(doc, sheet, row, column)->getFormula());
}

bool isEmptyCell(const Document& doc, int sheet, int row, int column) {
  return cell(doc, sheet, row, column)->getType() == css::table::CellContentType_EMPTY;
}

void addBasicModule(const Document& doc, const std::string& library, const std::string& module,
                    const std::string& source) {
  Reference<css::script::XLibraryContainer> libraries(
      Reference<css::document::XEmbeddedScripts>(doc, UNO_QUERY_THROW)->getBasicLibraries(), UNO_QUERY_THROW);
  const rtl::OUString name = toOffice(library);
  if (!libraries->hasByName(name)) libraries->createLibrary(name);
  Reference<css::container::XNameContainer> modules(libraries->getByName(name), UNO_QUERY_THROW);
  modules->insertByName(toOffice(module), css::uno::Any(toOffice(source)));
}

void storeAndClose(const Document& doc, const std::string& path) {
  const bool ods = path.size() > 4 && path.substr(path.size() - 4) == ".ods";
  const rtl::OUString filter = rtl::OUString::createFromAscii(ods ? "calc8" : "Calc MS Excel 2007 XML");
  Reference<css::frame::XStorable>(doc, UNO_QUERY_THROW)
      ->storeToURL(fileUrl(path), properties("FilterName", css::uno::Any(filter)));
  closeDocument(doc);
}

void closeDocument(const Document& doc) { Reference<css::util::XCloseable>(doc, UNO_QUERY_THROW)->close(true); }

}  // namespace vk::test

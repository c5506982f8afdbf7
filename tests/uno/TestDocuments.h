#pragma once
// Making and inspecting test workbooks directly over UNO, as a user working in
// LibreOffice would, independently of the engine under test.

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <string>

#include "workbook/uno/OfficeConnection.h"

namespace vk::test {

using Document = css::uno::Reference<css::frame::XModel>;

// A new hidden spreadsheet with three sheets.
Document newWorkbook(OfficeConnection& office);
// Loads a file the way the user would open it; `readOnly` as with "Open
// read-only" of the file dialog.
Document openAsUser(OfficeConnection& office, const std::string& path, bool readOnly = false);
// The open document of this file, if there is one.
Document openDocument(OfficeConnection& office, const std::string& path);
// Whether LibreOffice has a document of this file open.
bool isOpen(OfficeConnection& office, const std::string& path);

css::uno::Reference<css::table::XCell> cell(const Document& doc, int sheet, int row, int column);
void setNumber(const Document& doc, int sheet, int row, int column, double value);
void setFormula(const Document& doc, int sheet, int row, int column, const std::string& formula);
void setText(const Document& doc, int sheet, int row, int column, const std::string& text);
std::string formulaOf(const Document& doc, int sheet, int row, int column);
bool isEmptyCell(const Document& doc, int sheet, int row, int column);

// Adds a Basic module with the source to a library of the document (made when missing).
void addBasicModule(const Document& doc, const std::string& library, const std::string& module,
                    const std::string& source);
// Stores under the path in the format of its extension (.ods or .xlsx) and closes the document.
void storeAndClose(const Document& doc, const std::string& path);
void closeDocument(const Document& doc);

}  // namespace vk::test

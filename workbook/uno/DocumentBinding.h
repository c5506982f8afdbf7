#pragma once
// Finding or loading the document of a workbook file.

#include <com/sun/star/frame/XModel.hpp>
#include <string>

#include "workbook/uno/OfficeConnection.h"

namespace vk {

// The file URL LibreOffice gives a document loaded from this path.
rtl::OUString fileUrl(const std::string& absolutePath);

struct BoundDocument {
  css::uno::Reference<css::frame::XModel> model;
  rtl::OUString url;
  bool loadedHere = false;
};

// The spreadsheet document open in LibreOffice under the URL of the file,
// used as it is (a fault when `refuseOpen`); otherwise the file loaded, with
// macros allowed to run for this document alone, and hidden when asked. A
// missing file, a folder, a locked or damaged file, or one that is no
// spreadsheet is a fault naming the file.
BoundDocument bindDocument(const OfficeConnection& office, const std::string& absolutePath, bool hidden,
                           bool refuseOpen = false);

}  // namespace vk

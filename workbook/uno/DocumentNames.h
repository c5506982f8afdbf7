#pragma once
// A Calc document's sheets as their tabs show them, and its workbook-level
// defined names (named ranges of the document, not of one sheet).

#include <com/sun/star/frame/XModel.hpp>
#include <optional>
#include <string_view>
#include <vector>

#include "workbook/DefinedName.h"
#include "workbook/SheetTab.h"

namespace vk {

// Throw what LibreOffice throws.
std::vector<SheetTab> sheetTabs(const css::uno::Reference<css::frame::XModel>& document);
std::optional<DefinedName> documentDefinedName(const css::uno::Reference<css::frame::XModel>& document,
                                               std::string_view name);

}  // namespace vk

#pragma once
// Running a document's own macro, and what stands in for "Redraw" in a
// document without one.

#include <com/sun/star/frame/XModel.hpp>
#include <optional>
#include <string_view>

namespace vk {

// The script URL of the document's own Sub name, Basic or VBA, in whichever
// library and module holds it
// ("vnd.sun.star.script:LIB.MODULE.name?language=Basic&location=document").
std::optional<rtl::OUString> findDocumentMacro(const css::uno::Reference<css::frame::XModel>& document,
                                               std::string_view name);

// Runs the script with no arguments; its result is ignored.
void runDocumentScript(const css::uno::Reference<css::frame::XModel>& document, const rtl::OUString& url);

// For a document without a "Redraw" of its own, as the embedded engine does
// for a plain workbook: every formula recalculated, every chart redrawn.
void recalculateAndRedrawCharts(const css::uno::Reference<css::frame::XModel>& document);

}  // namespace vk

#pragma once
// The report's style sheet: A4 print, one page per page section, verdict
// colours that keep their word, and the plots' colours by class.

namespace vk::exporter::html {

// Holds neither '<' nor '&', so the page stays well-formed XML.
extern const char* const kPageStyle;

}  // namespace vk::exporter::html

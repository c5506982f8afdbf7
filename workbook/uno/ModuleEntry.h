#pragma once
// What passes between the programs and the LibreOffice engine's module: two
// functions with C names, looked up when the module is loaded.

namespace vk {
class LibreOfficeEngine;
struct LibreOfficeOptions;

// Raised whenever the engine's class or its options change, so that a
// module of another build is refused rather than called.
inline constexpr int kLibreOfficeModuleInterface = 1;

inline constexpr const char* kModuleInterfaceSymbol = "vk_libreoffice_interface";
inline constexpr const char* kModuleFactorySymbol = "vk_new_libreoffice_engine";
}  // namespace vk

extern "C" {
using VkLibreOfficeInterface = int();
using VkNewLibreOfficeEngine = vk::LibreOfficeEngine*(const vk::LibreOfficeOptions&);
}

// The module's entry points; everything else in it stays hidden.

#include "workbook/uno/ModuleEntry.h"

#include "workbook/uno/LibreOfficeEngine.h"

extern "C" __attribute__((visibility("default"))) int vk_libreoffice_interface() {
  return vk::kLibreOfficeModuleInterface;
}

extern "C" __attribute__((visibility("default"))) vk::LibreOfficeEngine* vk_new_libreoffice_engine(
    const vk::LibreOfficeOptions& options) {
  return new vk::LibreOfficeEngine(options);
}

#include "apps/velm-kalix/EngineChoice.h"

#include <string_view>

#include "workbook/Ascii.h"

namespace vk {

EngineChoice chooseWizardEngine(const char* setting, bool libreOfficeBuilt, bool desktopInstalled) {
  const bool libreOfficeUsable = libreOfficeBuilt && desktopInstalled;
  const EngineChoice installed{libreOfficeUsable ? WizardEngine::LibreOffice : WizardEngine::Embedded, {}};
  const std::string_view value = setting ? setting : "";
  if (value.empty()) return installed;
  if (equalIgnoringAsciiCase(value, "embedded")) return {WizardEngine::Embedded, {}};
  if (equalIgnoringAsciiCase(value, "libreoffice")) {
    if (libreOfficeUsable) return {WizardEngine::LibreOffice, {}};
    return {WizardEngine::Embedded, std::string(kEngineVariable) + " asks for LibreOffice, but " +
                                        (libreOfficeBuilt ? "LibreOffice Calc's desktop build is not installed"
                                                          : "this build of the program has no LibreOffice engine") +
                                        ". The workbook is edited by the embedded engine instead."};
  }
  return {installed.engine, std::string(kEngineVariable) + " is \"" + std::string(value) +
                                "\", but it can only be \"embedded\" or \"libreoffice\". The " +
                                (installed.engine == WizardEngine::LibreOffice ? "LibreOffice" : "embedded") +
                                " engine is used, as what is installed suggests."};
}

}  // namespace vk

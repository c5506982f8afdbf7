#pragma once
// Which engine the wizard works through. LibreOffice Calc when its desktop
// build is installed (and this build has the LibreOffice engine), so that
// the user watches the workbook there; the embedded engine otherwise. The
// environment variable VELM_KALIX_ENGINE, "embedded" or "libreoffice",
// overrides the choice; the wizard still takes no arguments.

#include <string>

namespace vk {

enum class WizardEngine { Embedded, LibreOffice };

struct EngineChoice {
  WizardEngine engine = WizardEngine::Embedded;
  // Why the setting could not be followed; empty when it was, or when none was made.
  std::string warning;
};

constexpr const char* kEngineVariable = "VELM_KALIX_ENGINE";

// `setting`: the variable's value, null when it is not set.
EngineChoice chooseWizardEngine(const char* setting, bool libreOfficeBuilt, bool desktopInstalled);

}  // namespace vk

#include <gtest/gtest.h>

#include "apps/velm-kalix/EngineChoice.h"

namespace vk {
namespace {

TEST(WizardEngine, ByWhatIsInstalledUnlessTheVariableSaysOtherwise) {
  // Not set, or set empty: LibreOffice only when built and its desktop build installed.
  for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(chooseWizardEngine(unset, true, true).engine, WizardEngine::LibreOffice);
    EXPECT_EQ(chooseWizardEngine(unset, true, false).engine, WizardEngine::Embedded);
    EXPECT_EQ(chooseWizardEngine(unset, false, true).engine, WizardEngine::Embedded);
    EXPECT_TRUE(chooseWizardEngine(unset, true, true).warning.empty());
  }
  EXPECT_EQ(chooseWizardEngine("embedded", true, true).engine, WizardEngine::Embedded);
  EXPECT_EQ(chooseWizardEngine("LibreOffice", true, true).engine, WizardEngine::LibreOffice);
  EXPECT_TRUE(chooseWizardEngine("libreoffice", true, true).warning.empty());
}

TEST(WizardEngine, ASettingThatCannotBeFollowedIsToldAndTheEmbeddedOrInstalledOneUsed) {
  const EngineChoice noDesktop = chooseWizardEngine("libreoffice", true, false);
  EXPECT_EQ(noDesktop.engine, WizardEngine::Embedded);
  EXPECT_NE(noDesktop.warning.find("desktop build is not installed"), std::string::npos) << noDesktop.warning;
  const EngineChoice notBuilt = chooseWizardEngine("libreoffice", false, true);
  EXPECT_EQ(notBuilt.engine, WizardEngine::Embedded);
  EXPECT_NE(notBuilt.warning.find("no LibreOffice engine"), std::string::npos) << notBuilt.warning;
  const EngineChoice typo = chooseWizardEngine("calc", true, true);
  EXPECT_EQ(typo.engine, WizardEngine::LibreOffice);
  EXPECT_NE(typo.warning.find("VELM_KALIX_ENGINE is \"calc\""), std::string::npos) << typo.warning;
}

}  // namespace
}  // namespace vk

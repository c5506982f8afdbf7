#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeProcess.h"

namespace vk {
namespace {

TEST(OfficeProcess, StartsInAUtf8LocaleWithoutTouchingTheRest) {
  EXPECT_TRUE(utf8LocaleOverrides("", "", "de_DE.UTF-8").empty());
  EXPECT_TRUE(utf8LocaleOverrides("en_US.utf8", "", "C").empty());
  EXPECT_EQ(utf8LocaleOverrides("", "", "C"), std::vector<std::string>{"LC_CTYPE=C.UTF-8"});
  EXPECT_EQ(utf8LocaleOverrides("", "", ""), std::vector<std::string>{"LC_CTYPE=C.UTF-8"});
  // LC_ALL overrides LC_CTYPE, so it has to be the one replaced.
  EXPECT_EQ(utf8LocaleOverrides("POSIX", "C.UTF-8", ""), std::vector<std::string>{"LC_ALL=C.UTF-8"});
  // LC_CTYPE decides over LANG.
  EXPECT_EQ(utf8LocaleOverrides("", "C", "en_GB.UTF-8"), std::vector<std::string>{"LC_CTYPE=C.UTF-8"});
  EXPECT_EQ(acceptArgument("vk_pipe"), "--accept=pipe,name=vk_pipe;urp;");
}

TEST(OfficeProcess, DesktopBuildNeedsCalcAndAWindowingPlugin) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("vk-lo-install-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto touch = [&](const char* name) { std::ofstream(dir / name) << ""; };
  touch("soffice");
  touch("libsclo.so");
  EXPECT_FALSE(libreOfficeDesktopInstalled(dir.string()));  // the -nogui build
  touch("libvclplug_genlo.so");
  EXPECT_TRUE(libreOfficeDesktopInstalled(dir.string()));
  fs::remove(dir / "libsclo.so");
  EXPECT_FALSE(libreOfficeDesktopInstalled(dir.string()));  // no Calc
  fs::remove_all(dir);
  EXPECT_FALSE(libreOfficeDesktopInstalled((dir / "missing").string()));
}

}  // namespace
}  // namespace vk

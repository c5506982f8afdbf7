// The LibreOffice engine's module: found beside the program, refused in
// plain words when it is missing or broken; and the LibreOffice the engine
// uses is the one found at run time.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "module1/Fault.h"
#include "tests/support/FaultOf.h"
#include "workbook/uno/LibreOfficeEngine.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct TempFolder {
  fs::path path = fs::temp_directory_path() / ("vk-module-" + std::to_string(::getpid()));
  TempFolder() { fs::create_directories(path); }
  ~TempFolder() { fs::remove_all(path); }
};

TEST(LibreOfficeModule, TheEngineComesFromTheModuleBesideTheProgram) {
  const std::vector<std::string> folders = libreOfficeModuleFolders();
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_TRUE(fs::exists(fs::path(folders[0]) / kLibreOfficeModule)) << folders[0];
  LibreOfficeOptions options;
  options.startOffice = false;
  auto engine = loadLibreOfficeEngine(options);  // connects at its first bind only
  // Its code is the module's, not the copy this test program links.
  Dl_info where{};
  ASSERT_NE(::dladdr(*reinterpret_cast<void**>(engine.get()), &where), 0);
  EXPECT_EQ(fs::path(where.dli_fname).filename(), kLibreOfficeModule);
}

TEST(LibreOfficeModule, AMissingOrBrokenModuleIsAFaultThatNamesIt) {
  TempFolder folder;
  const std::string module = (folder.path / kLibreOfficeModule).string();
  LibreOfficeOptions options;
  const std::string missing = faultOf([&] { loadLibreOfficeEngine(options, {folder.path.string()}); });
  EXPECT_TRUE(mentions(missing, kLibreOfficeModule) && mentions(missing, folder.path.string())) << missing;

  std::ofstream(module) << "not a library";
  try {
    loadLibreOfficeEngine(options, {folder.path.string()});
    ADD_FAILURE() << "a broken module was loaded";
  } catch (const Fault& fault) {
    EXPECT_TRUE(mentions(fault.text(), module) && mentions(fault.text(), "does not load")) << fault.text();
    EXPECT_FALSE(fault.detail().empty());  // what the dynamic loader said
  }

  // A library, but not this program's module.
  fs::remove(module);
  fs::create_symlink(LibreOfficeOptions::defaultProgramDir() + "/libuno_sal.so.3", module);
  const std::string other = faultOf([&] { loadLibreOfficeEngine(options, {folder.path.string()}); });
  EXPECT_TRUE(mentions(other, module) && mentions(other, "not the module")) << other;
}

TEST(LibreOfficeModule, TheOfficeIsTheOneOnThePath) {
  TempFolder folder;
  const fs::path program = folder.path / "office" / "program", bin = folder.path / "bin";
  fs::create_directories(program);
  fs::create_directories(bin);
  std::ofstream(program / "soffice") << "";
  std::ofstream(program / "fundamentalrc") << "";
  fs::create_symlink(program / "soffice", bin / "soffice");
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  const std::string builtWith = LibreOfficeOptions::defaultProgramDir();
  ::setenv("PATH", ("/nonexistent:" + bin.string() + ":" + path).c_str(), 1);
  EXPECT_EQ(LibreOfficeOptions::defaultProgramDir(), fs::canonical(program).string());
  // Without one on the path, the folder this program was built with.
  ::setenv("PATH", "/nonexistent", 1);
  const std::string fallback = LibreOfficeOptions::defaultProgramDir();
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_NE(fallback, fs::canonical(program).string());
  EXPECT_TRUE(fs::exists(fs::path(fallback) / "fundamentalrc")) << fallback;
  EXPECT_TRUE(fs::exists(fs::path(builtWith) / "fundamentalrc")) << builtWith;
}

}  // namespace
}  // namespace vk::test

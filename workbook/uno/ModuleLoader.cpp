// Finding and loading the LibreOffice engine's module, outside the module.

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <mutex>

#include "module1/Fault.h"
#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/ModuleEntry.h"

namespace vk {

namespace {

// LibreOffice's runtime libraries that the module links, from the
// installation found at run time: once loaded, the module's own references
// to them are satisfied by these, wherever it was built.
void loadRuntimeLibraries(const std::string& programDir) {
  for (const char* name :
       {"libuno_sal.so.3", "libuno_salhelpergcc3.so.3", "libuno_cppu.so.3", "libuno_cppuhelpergcc3.so.3"}) {
    const std::string path = programDir + "/" + name;
    // A library that is missing or does not load is named by the module's load.
    if (::access(path.c_str(), F_OK) == 0) ::dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  }
}

std::string dlError() {
  const char* error = ::dlerror();
  return error ? error : "no reason given";
}

VkNewLibreOfficeEngine* loadFactory(const std::string& programDir, const std::vector<std::string>& folders) {
  static std::mutex mutex;
  static std::map<std::string, VkNewLibreOfficeEngine*> loaded;  // by the module's path
  std::lock_guard lock(mutex);
  std::string path, searched;
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + kLibreOfficeModule;
    if (::access(candidate.c_str(), F_OK) == 0) {
      path = candidate;
      break;
    }
    searched += (searched.empty() ? "" : ", ") + folder;
  }
  if (path.empty())
    throw Fault(FaultKind::Workbook, std::string("the LibreOffice engine cannot be used: its module ") +
                                         kLibreOfficeModule + " is not installed (looked in " + searched + ")");
  if (auto it = loaded.find(path); it != loaded.end()) return it->second;
  loadRuntimeLibraries(programDir);
  // Never unloaded: the engines it makes live until the program ends.
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module)
    throw Fault(FaultKind::Workbook, "the LibreOffice engine cannot be used: its module " + path + " does not load",
                dlError());
  auto* interface = reinterpret_cast<VkLibreOfficeInterface*>(::dlsym(module, kModuleInterfaceSymbol));
  auto* make = reinterpret_cast<VkNewLibreOfficeEngine*>(::dlsym(module, kModuleFactorySymbol));
  if (!interface || !make)
    throw Fault(FaultKind::Workbook,
                "the LibreOffice engine cannot be used: " + path + " is not the module of this program's engine",
                dlError());
  if (interface() != kLibreOfficeModuleInterface)
    throw Fault(FaultKind::Workbook, "the LibreOffice engine cannot be used: its module " + path +
                                         " belongs to another version of this program");
  return loaded[path] = make;
}

}  // namespace

std::vector<std::string> libreOfficeModuleFolders() {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path();
  return {program.string(), (program / VK_LIBREOFFICE_MODULE_FROM_PROGRAM).lexically_normal().string()};
}

std::shared_ptr<LibreOfficeEngine> loadLibreOfficeEngine(LibreOfficeOptions options) {
  return loadLibreOfficeEngine(std::move(options), libreOfficeModuleFolders());
}

std::shared_ptr<LibreOfficeEngine> loadLibreOfficeEngine(LibreOfficeOptions options,
                                                         const std::vector<std::string>& folders) {
  VkNewLibreOfficeEngine* make = loadFactory(options.programDir, folders);
  return std::shared_ptr<LibreOfficeEngine>(make(options));
}

}  // namespace vk

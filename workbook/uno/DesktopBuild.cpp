#include <filesystem>

#include "workbook/uno/LibreOfficeEngine.h"

namespace vk {

std::string LibreOfficeOptions::defaultProgramDir() { return VK_LIBREOFFICE_PROGRAM_DIR; }

bool libreOfficeDesktopInstalled(const std::string& programDir) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path dir(programDir);
  if (!fs::exists(dir / "soffice", error) || !fs::exists(dir / "libsclo.so", error)) return false;
  // The desktop build brings at least one windowing plugin (libvclplug_gen,
  // _gtk3, _kf5 ...); the -nogui build has none and can only run headless.
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("libvclplug_", 0) == 0) return true;
  }
  return false;
}

}  // namespace vk

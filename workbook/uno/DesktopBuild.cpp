#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "workbook/uno/LibreOfficeEngine.h"

namespace vk {

std::string LibreOfficeOptions::defaultProgramDir() {
  namespace fs = std::filesystem;
  // soffice on PATH is mostly a link into the installation's program folder.
  const char* path = std::getenv("PATH");
  std::string_view folders = path ? path : "";
  while (!folders.empty()) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    if (folder.empty()) continue;
    std::error_code error;
    const fs::path soffice = fs::canonical(fs::path(folder) / "soffice", error);
    if (!error && fs::exists(soffice.parent_path() / "fundamentalrc", error)) return soffice.parent_path().string();
  }
  return VK_LIBREOFFICE_PROGRAM_DIR;
}

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

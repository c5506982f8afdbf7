#include "workbook/file/PhysicalPath.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

namespace vk {

namespace {

std::optional<std::string> realPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) return std::nullopt;
  return std::string(resolved.get());
}

}  // namespace

std::string physicalPath(const std::string& path) {
  namespace fs = std::filesystem;
  const fs::path given(path);
  const std::string name = given.filename().string();
  // A folder named by "x/", "." or "..": resolved whole.
  if (name.empty() || name == "." || name == "..") return realPath(path).value_or(fs::absolute(given).string());
  const fs::path folder = given.parent_path().empty() ? fs::path(".") : given.parent_path();
  if (auto resolved = realPath(folder.string())) return (fs::path(*resolved) / name).string();
  return fs::absolute(given).string();
}

std::string resolvedFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path file = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? fs::absolute(path).string() : file.string();
}

}  // namespace vk

#include "workbook/file/WritableFile.h"

#include <unistd.h>

#include <filesystem>

namespace vk {

bool writableFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::perms perms = fs::status(path, ec).permissions();
  if (ec) return false;
  const fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (perms & anyWrite) != fs::perms::none && ::access(path.c_str(), W_OK) == 0;
}

}  // namespace vk

#pragma once
// A fresh folder of the running test under the system's temporary folder:
// named after the process and the test, so that tests run in parallel never
// share one, and emptied first, so that a test killed earlier leaves nothing
// in the way.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace vk::test {

inline std::filesystem::path freshTestFolder(const std::string& prefix) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& ch : name)
    if (ch == '/') ch = '-';  // parameterised tests
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()) + "-" + name);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace vk::test

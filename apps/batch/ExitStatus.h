#pragma once
// The batch tool's exit statuses, as --help and the README list them. When
// two apply, the first of 2, 1, 3, 0 wins.

namespace vk {

constexpr int kExitAnalysed = 0;
constexpr int kExitFault = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCheckFailed = 3;

struct ExitStatusMeaning {
  int status;
  const char* meaning;
};
inline constexpr ExitStatusMeaning kExitStatuses[] = {
    {kExitAnalysed, "analysed and written"},
    {kExitFault, "a fault: nothing was written"},
    {kExitUsage, "a usage error: nothing was read"},
    {kExitCheckFailed, "--strict, and a validity check failed: analysed and written"},
};

}  // namespace vk

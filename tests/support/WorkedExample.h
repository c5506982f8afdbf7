#pragma once
// The worked example the tests of every layer share: probe 1 of the sample
// test, 13 readings one minute apart, analysed from a start threshold of
// 10 %. Its figures are given to the digits they are known to (EXPECT_DIGITS).

#include <vector>

namespace vk::test {

namespace worked {

// As the workbook holds them: minutes and mg/L.
inline const std::vector<double> kTimes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
inline const std::vector<double> kReadings = {0.53, 2.14, 3.49, 4.41, 5.25, 5.87, 6.3,
                                              6.75, 6.97, 7.17, 7.4,  7.52, 7.61};

// The fit's history: each pass's estimates and their sum of squares. Pass 1
// starts from the starting estimates; the fit converges in pass 4, whose
// estimates are the results.
struct Pass {
  const char *cinf, *c0, *kla, *sumSq;
};
inline constexpr int kPassCount = 4;
inline constexpr Pass kPasses[kPassCount] = {{"7.6176", "2.14", "0.37372", "1.5174"},
                                             {"7.8034", "2.1775", "0.23680", "0.55815"},
                                             {"7.9751", "2.1502", "0.25263", "0.010166"},
                                             {"7.9823", "2.1496", "0.25205", "0.010103"}};
inline constexpr const Pass& kStart = kPasses[0];
inline constexpr const Pass& kResult = kPasses[kPassCount - 1];
// The standard error of the converged fit.
inline constexpr const char* kStdErr = "0.033505";

}  // namespace worked

// The times and readings as the program stores them: 32-bit floats.
inline std::vector<float> workedTimes() { return std::vector<float>(worked::kTimes.begin(), worked::kTimes.end()); }
inline std::vector<float> workedConc() {
  return std::vector<float>(worked::kReadings.begin(), worked::kReadings.end());
}

}  // namespace vk::test

// The fuzz target's check on every input of its seed corpus (fuzz/corpus/),
// in the ordinary build: inputs that once broke the engine are kept there.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "tests/workbook/xlsx/EditedCopy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vk::xlsxtest {
namespace {

TEST(FuzzCorpus, EveryInputOpensOrFaultsCleanly) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(sourcePath("fuzz/corpus"))) {
    SCOPED_TRACE(entry.path().filename().string());
    std::string bytes = readFile(entry.path().string());
    // Aborts the test program on anything but a clean fault.
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    ++inputs;
  }
  EXPECT_GE(inputs, 5);
}

}  // namespace
}  // namespace vk::xlsxtest

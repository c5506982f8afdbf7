// The test office is shared by all tests of this program and ended with it.
#include <gtest/gtest.h>

#include "tests/uno/TestOffice.h"

namespace {

class StopTestOffice : public ::testing::Environment {
 public:
  void TearDown() override { vk::test::TestOffice::stop(); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new StopTestOffice);
  return RUN_ALL_TESTS();
}

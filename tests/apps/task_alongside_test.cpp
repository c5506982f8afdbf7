// A task run beside the caller: its work is done by the time wait() returns,
// what it threw comes back from wait(), and going out of scope waits too.

#include "apps/batch/TaskAlongside.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace vk {
namespace {

TEST(TaskAlongside, RunsOnAThreadOfItsOwnAndIsWaitedFor) {
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id ranOn;
  int result = 0;
  TaskAlongside task([&] {
    ranOn = std::this_thread::get_id();
    result = 42;
  });
  task.wait();
  EXPECT_EQ(result, 42);
  EXPECT_NE(ranOn, caller);
}

TEST(TaskAlongside, WaitThrowsWhatTheTaskThrewOnce) {
  TaskAlongside task([] { throw std::runtime_error("no readings"); });
  EXPECT_THROW(task.wait(), std::runtime_error);
  EXPECT_NO_THROW(task.wait());
}

TEST(TaskAlongside, LeavingItsScopeWaitsForTheTask) {
  std::atomic<bool> done = false;
  {
    TaskAlongside task([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      done = true;
    });
  }
  EXPECT_TRUE(done);
}

}  // namespace
}  // namespace vk

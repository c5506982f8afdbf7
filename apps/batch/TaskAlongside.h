#pragma once
// A task run on a thread of its own while the caller goes on with its work.
// Linux puts a new thread on its creator's processor, where it runs first
// while the creator waits: on a machine of two processors the two seldom
// overlapped. So the thread starts on another processor when the process
// may use one, and may then be moved anywhere the process may run.

#include <pthread.h>
#include <sched.h>

#include <exception>
#include <functional>

namespace vk {

class TaskAlongside {
 public:
  // Starts `task`; when no thread can be started it runs here, at once.
  explicit TaskAlongside(std::function<void()> task);
  ~TaskAlongside();  // waits for the task; what it threw is lost
  TaskAlongside(const TaskAlongside&) = delete;
  TaskAlongside& operator=(const TaskAlongside&) = delete;

  // Waits for the task to end and throws what it threw.
  void wait();

 private:
  static void* run(void* self);
  void join();

  std::function<void()> task_;
  cpu_set_t allowed_{};  // the process's processors, given back once the task runs
  pthread_t thread_{};
  bool running_ = false;
  std::exception_ptr error_;
};

}  // namespace vk

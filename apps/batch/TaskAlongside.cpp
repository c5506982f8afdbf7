#include "apps/batch/TaskAlongside.h"

#include <cstddef>
#include <utility>

namespace vk {

TaskAlongside::TaskAlongside(std::function<void()> task) : task_(std::move(task)) {
  pthread_attr_t attributes;
  if (::pthread_attr_init(&attributes) != 0) {
    run(this);
    return;
  }
  if (::pthread_getaffinity_np(::pthread_self(), sizeof allowed_, &allowed_) == 0) {
    cpu_set_t others = allowed_;
    const int here = ::sched_getcpu();
    if (here >= 0 && here < CPU_SETSIZE) CPU_CLR(static_cast<std::size_t>(here), &others);
    if (CPU_COUNT(&others) > 0) ::pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
  } else {
    CPU_ZERO(&allowed_);
  }
  running_ = ::pthread_create(&thread_, &attributes, &TaskAlongside::run, this) == 0;
  ::pthread_attr_destroy(&attributes);
  if (!running_) run(this);
}

TaskAlongside::~TaskAlongside() { join(); }

void* TaskAlongside::run(void* self) {
  auto* alongside = static_cast<TaskAlongside*>(self);
  if (CPU_COUNT(&alongside->allowed_) > 0)
    ::pthread_setaffinity_np(::pthread_self(), sizeof alongside->allowed_, &alongside->allowed_);
  try {
    alongside->task_();
  } catch (...) {
    alongside->error_ = std::current_exception();
  }
  return nullptr;
}

void TaskAlongside::join() {
  if (running_) ::pthread_join(thread_, nullptr);
  running_ = false;
}

void TaskAlongside::wait() {
  join();
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

}  // namespace vk

#include "workbook/file/InterruptedRun.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace vk {

namespace {

// Fixed slots: a signal handler may not allocate or take a lock.
struct Slot {
  std::atomic<bool> used{false};
  char path[PATH_MAX] = {};
};
constexpr int kSlots = 64;  // one per workbook held at once: the batch tool analyses at most 64 together
Slot slots[kSlots];
std::atomic<bool> claiming[kSlots];

void removeAndEnd(int signal) {
  for (Slot& slot : slots)
    if (slot.used.load(std::memory_order_acquire)) ::unlink(slot.path);
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void removeLockFilesWhenInterrupted() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::signal(sig, removeAndEnd);
}

int registerLockFile(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int k = 0; k < kSlots; ++k) {
    if (claiming[k].exchange(true)) continue;  // another thread's, or in use
    std::memcpy(slots[k].path, path.c_str(), path.size() + 1);
    slots[k].used.store(true, std::memory_order_release);
    return k;
  }
  return -1;
}

void unregisterLockFile(int slot) {
  if (slot < 0 || slot >= kSlots) return;
  slots[slot].used.store(false, std::memory_order_release);
  claiming[slot].store(false);
}

}  // namespace vk

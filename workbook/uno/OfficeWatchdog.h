#pragma once
// An office started by the batch tool must not outlive it, also when the
// tool is killed with SIGKILL, which nothing in the tool can catch. soffice
// is a script that starts the office as a child of its own, so a
// parent-death signal would reach the script, not the office.
//
// The watchdog is a small process forked from the tool while the tool still
// has a single thread. It waits on a socket from the tool: the offices the tool
// starts (each in a process group of its own) and their private profile
// folders are announced on it, and so is each office the tool ended itself.
// When the socket closes, the tool is gone (or done): the watchdog ends what
// is still announced (SIGTERM to the group, SIGKILL after a grace period),
// removes the folders, and ends too.

#include <sys/types.h>

#include <string>

namespace vk {

class OfficeWatchdog {
 public:
  // Forks the watchdog. Call while this program has a single thread.
  OfficeWatchdog();
  // Closes the socket and waits for the watchdog to finish what is left.
  ~OfficeWatchdog();
  OfficeWatchdog(const OfficeWatchdog&) = delete;
  OfficeWatchdog& operator=(const OfficeWatchdog&) = delete;

  // An office was started in the process group `group`.
  void watch(pid_t group);
  // The office of `group` has ended by this program's doing.
  void ended(pid_t group);
  // A folder to remove when the program is gone (a private profile).
  void removeAtEnd(const std::string& folder);

  pid_t pid() const { return pid_; }

 private:
  void tell(const std::string& line);

  int socket_ = -1;
  pid_t pid_ = 0;
};

}  // namespace vk

#pragma once
// A run interrupted by Ctrl+C, SIGTERM or a closed terminal removes the lock
// files it holds before it ends, so that the next run does not meet them as
// stale ones. (SIGKILL cannot be caught: its lock file stays, and the next
// run names it stale.) A save under way is left as a temporary file, which
// the next save of the workbook removes.

#include <string>

namespace vk {

// Installs the handlers: each removes the registered lock files and ends the
// program by the same signal. For a program that writes workbooks
// unattended (the batch tool).
void removeLockFilesWhenInterrupted();

// The lock files this process holds, for the handlers; the registration is
// a slot number, -1 when the path could not be registered.
int registerLockFile(const std::string& path);
void unregisterLockFile(int slot);

}  // namespace vk

#pragma once
// A program run as a process of its own, for the tests that kill it, run it
// side by side with another, or change its file while it works. Its output
// goes to files, read when it has ended.

#include <sys/types.h>

#include <string>
#include <vector>

namespace vk::test {

struct Ended {
  int status = -1;  // the exit status; -1 when a signal ended it
  int signal = 0;   // the signal that ended it, if one did
  std::string out, err;
};

class ChildProcess {
 public:
  // Starts command[0] with the rest as arguments; its standard output and
  // error go to files in `folder`.
  ChildProcess(const std::vector<std::string>& command, const std::string& folder);
  // Kills it if it still runs, and waits for it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // Whether it still runs; reaps it when it has ended.
  bool running();
  void kill(int signal);
  Ended wait();

 private:
  pid_t pid_ = 0;
  bool reaped_ = false;
  int waitStatus_ = 0;
  std::string outFile_, errFile_;
};

// Runs the command to its end.
Ended runToEnd(const std::vector<std::string>& command, const std::string& folder);

// The whole file, as bytes.
std::string fileBytes(const std::string& path);

}  // namespace vk::test

#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace vk::test {

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& folder) {
  static std::atomic<int> count{0};
  const std::string stem = folder + "/child-" + std::to_string(::getpid()) + "-" + std::to_string(++count);
  outFile_ = stem + ".out";
  errFile_ = stem + ".err";
  std::vector<std::string> args = command;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int error = posix_spawn(&pid_, argv[0], &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (error != 0) throw std::runtime_error("cannot start " + command[0]);
}

ChildProcess::~ChildProcess() {
  if (running()) kill(SIGKILL);
  wait();
  ::unlink(outFile_.c_str());
  ::unlink(errFile_.c_str());
}

bool ChildProcess::running() {
  if (reaped_) return false;
  if (::waitpid(pid_, &waitStatus_, WNOHANG) == pid_) reaped_ = true;
  return !reaped_;
}

void ChildProcess::kill(int signal) {
  if (!reaped_) ::kill(pid_, signal);
}

Ended ChildProcess::wait() {
  while (!reaped_) {
    const pid_t done = ::waitpid(pid_, &waitStatus_, 0);
    if (done == pid_ || (done < 0 && errno != EINTR)) reaped_ = true;
  }
  Ended ended;
  if (WIFEXITED(waitStatus_)) ended.status = WEXITSTATUS(waitStatus_);
  if (WIFSIGNALED(waitStatus_)) ended.signal = WTERMSIG(waitStatus_);
  ended.out = fileBytes(outFile_);
  ended.err = fileBytes(errFile_);
  return ended;
}

Ended runToEnd(const std::vector<std::string>& command, const std::string& folder) {
  return ChildProcess(command, folder).wait();
}

}  // namespace vk::test

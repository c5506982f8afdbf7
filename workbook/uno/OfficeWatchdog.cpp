#include "workbook/uno/OfficeWatchdog.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>
#include <thread>

#include "module1/Fault.h"

namespace vk {

namespace {

constexpr int kSocketEnd = 3;  // where the watchdog keeps its end of the socket
constexpr auto kGrace = std::chrono::seconds(5);

bool groupRuns(pid_t group) { return ::kill(-group, 0) == 0 || errno == EPERM; }

// Ends the process group: asked first, then forced.
void endGroup(pid_t group) {
  if (!groupRuns(group)) return;
  ::kill(-group, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + kGrace;
  while (groupRuns(group) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (groupRuns(group)) ::kill(-group, SIGKILL);
}

// The watchdog itself; never returns.
[[noreturn]] void watchOver(int readEnd) {
  // Out of the tool's process group: Ctrl+C on the terminal reaches the
  // tool, and the watchdog then ends the office.
  ::setpgid(0, 0);
  for (int sig : {SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGPIPE}) ::signal(sig, SIG_IGN);
  ::dup2(readEnd, kSocketEnd);
  ::close_range(kSocketEnd + 1, ~0U, 0);
  // Nothing of the tool's is held open: no output pipe of a caller stays open.
  int null = ::open("/dev/null", O_RDWR);
  for (int fd = 0; fd < 3; ++fd) ::dup2(null, fd);
  if (null > 2) ::close(null);

  std::set<pid_t> groups;
  std::set<std::string> folders;
  std::string text;
  char buffer[512];
  for (;;) {
    ssize_t n = ::read(kSocketEnd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, std::size_t(n));
    for (std::size_t end; (end = text.find('\n')) != std::string::npos; text.erase(0, end + 1)) {
      const std::string line = text.substr(0, end);
      const std::size_t space = line.find(' ');
      const std::string word = line.substr(0, space), rest = space == std::string::npos ? "" : line.substr(space + 1);
      if (word == "watch") groups.insert(pid_t(std::stol(rest)));
      if (word == "ended") groups.erase(pid_t(std::stol(rest)));
      if (word == "folder") folders.insert(rest);
    }
  }
  for (pid_t group : groups) endGroup(group);
  for (const std::string& folder : folders) {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  ::_exit(0);
}

}  // namespace

OfficeWatchdog::OfficeWatchdog() {
  // A socket pair, not a pipe: a write to a watchdog that is gone
  // fails instead of raising SIGPIPE.
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
    throw Fault(FaultKind::Workbook, std::string("cannot start the office's watchdog: ") + std::strerror(errno));
  pid_ = ::fork();
  if (pid_ < 0) {
    const int error = errno;
    ::close(ends[0]);
    ::close(ends[1]);
    throw Fault(FaultKind::Workbook, std::string("cannot start the office's watchdog: ") + std::strerror(error));
  }
  if (pid_ == 0) watchOver(ends[0]);
  ::close(ends[0]);
  socket_ = ends[1];
}

OfficeWatchdog::~OfficeWatchdog() {
  ::close(socket_);
  while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

void OfficeWatchdog::tell(const std::string& line) {
  // A watchdog that is gone cannot be told; the office then ends as before.
  const std::string text = line + "\n";
  [[maybe_unused]] ssize_t n = ::send(socket_, text.data(), text.size(), MSG_NOSIGNAL);
}

void OfficeWatchdog::watch(pid_t group) { tell("watch " + std::to_string(group)); }

void OfficeWatchdog::ended(pid_t group) { tell("ended " + std::to_string(group)); }

void OfficeWatchdog::removeAtEnd(const std::string& folder) { tell("folder " + folder); }

}  // namespace vk

#include "workbook/uno/OfficeProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "module1/Fault.h"
#include "workbook/Ascii.h"

extern char** environ;

namespace vk {

namespace {

bool isUtf8(const std::string& locale) {
  const std::string lower = asciiLowerCase(locale);
  return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string acceptArgument(const std::string& pipeName) { return "--accept=pipe,name=" + pipeName + ";urp;"; }

std::vector<std::string> utf8LocaleOverrides(const std::string& lcAll, const std::string& lcCtype,
                                             const std::string& lang) {
  // The first one set decides, as the C library has it.
  const std::string& effective = !lcAll.empty() ? lcAll : !lcCtype.empty() ? lcCtype : lang;
  if (isUtf8(effective)) return {};
  // Without a UTF-8 locale LibreOffice mangles file names outside ASCII. Only
  // the character set changes; messages and number formats stay the user's
  // unless LC_ALL forces one locale for everything.
  return {lcAll.empty() ? "LC_CTYPE=C.UTF-8" : "LC_ALL=C.UTF-8"};
}

pid_t startOffice(const std::string& programDir, const std::vector<std::string>& arguments) {
  const std::string program = programDir + "/soffice";
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> overrides = utf8LocaleOverrides(variable("LC_ALL"), variable("LC_CTYPE"), variable("LANG"));
  std::vector<char*> envp;
  auto overridden = [&](const char* entry) {
    for (const std::string& o : overrides)
      if (std::strncmp(entry, o.c_str(), o.find('=') + 1) == 0) return true;
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (!overridden(*e)) envp.push_back(*e);
  for (std::string& o : overrides) envp.push_back(o.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A session of its own: a Ctrl+C meant for this program does not reach it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);

  pid_t pid = 0;
  int error = posix_spawn(&pid, program.c_str(), &files, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  if (error != 0)
    throw Fault(FaultKind::Workbook, "LibreOffice could not be started (" + program + "): " + std::strerror(error));
  return pid;
}

std::optional<int> officeExitStatus(pid_t pid) {
  int status = 0;
  pid_t done = waitpid(pid, &status, WNOHANG);
  if (done == 0) return std::nullopt;
  if (done < 0) return errno == ECHILD ? std::optional<int>(0) : std::nullopt;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace vk

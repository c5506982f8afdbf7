#pragma once
// Starting LibreOffice as a process of its own. The started office outlives
// this program (the user keeps working in it) unless the program watches it
// (OfficeWatchdog.h, the batch tool); otherwise only whoever holds the PID
// (a test) may end it.

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vk {

// The arguments that make soffice listen on the named pipe.
std::string acceptArgument(const std::string& pipeName);

// Starts the soffice wrapper of programDir with the arguments, in a session
// (and process group) of its own, with a UTF-8 locale when the caller's
// locale is not one, output discarded. Returns its PID.
pid_t startOffice(const std::string& programDir, const std::vector<std::string>& arguments);

// The exit status of a started office that has ended (and is reaped now);
// nothing while it runs.
std::optional<int> officeExitStatus(pid_t pid);

// The environment entries that make a process run in a UTF-8 locale, given
// the caller's LC_ALL, LC_CTYPE and LANG (empty when unset): none when the
// effective locale already is UTF-8.
std::vector<std::string> utf8LocaleOverrides(const std::string& lcAll, const std::string& lcCtype,
                                             const std::string& lang);

}  // namespace vk

#pragma once
// The lock file LibreOffice keeps beside a document it edits,
// ".~lock.NAME#": one entry of five comma-separated fields ending in ';'
// (the user's name, the system user, the host, the time, the user's
// profile URL), with ',', ';' and '\' escaped by '\'. This program writes
// the same entry while it writes a workbook, with its own name and process
// id where LibreOffice shows the user's name, so that a LibreOffice user
// sees who holds the file.

#include <optional>
#include <string>
#include <string_view>

namespace vk {

struct LockEntry {
  std::string user;        // shown by LibreOffice; here "velm-kalix-batch (process 1234)"
  std::string systemUser;  // the login name
  std::string host;
  std::string editTime;  // "DD.MM.YYYY HH:MM", local time
  std::string userUrl;   // LibreOffice: the profile; here the program file

  std::string format() const;
  // Nothing when the text is not such an entry.
  static std::optional<LockEntry> parse(std::string_view text);
};

// The lock file of a workbook file, beside it; nothing when the name is too
// long to make one (over 247 bytes, with ".~lock." and "#" past 255).
std::optional<std::string> lockFilePath(const std::string& file);

// The entry this process writes.
LockEntry entryOfThisProcess();

enum class LockHolder {
  ThisProcess,
  GoneRunOfThisProgram,  // this program on this host, in a process that no longer runs: stale
  Someone,               // another user, program or process, as far as can be told still there
};
LockHolder holderOf(const LockEntry& entry);

// Who holds it, as LibreOffice shows it: the user's name, else the login.
std::string holderName(const LockEntry& entry);

}  // namespace vk

#include "workbook/file/LockFile.h"

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vk {

namespace {

constexpr int kFields = 5;
constexpr std::size_t kLongestName = 247;  // 255 minus ".~lock." and "#"
// The programs of this project: a lock file naming either is this program's.
constexpr const char* kProgramNames[] = {"velm-kalix", "velm-kalix-batch"};

std::string escaped(const std::string& field) {
  std::string out;
  for (char c : field) {
    if (c == ',' || c == ';' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

std::string programName() { return program_invocation_short_name; }

std::string hostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

// getpwuid_r: several workbooks may take their locks at once, on threads.
std::string loginName() {
  passwd entry{};
  passwd* found = nullptr;
  char buffer[4096];
  if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found) return found->pw_name;
  return std::to_string(::getuid());
}

std::string localTime() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  char text[64];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900, tm.tm_hour,
                tm.tm_min);
  return text;
}

std::string programUrl() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return "file://" + (ec ? programName() : exe.string());
}

std::string userText(const std::string& program, pid_t pid) {
  return program + " (process " + std::to_string(pid) + ")";
}

// "NAME (process PID)" taken apart; nothing for any other text.
std::optional<std::pair<std::string, pid_t>> programAndProcess(const std::string& user) {
  const std::string marker = " (process ";
  const std::size_t at = user.rfind(marker);
  if (at == std::string::npos || user.empty() || user.back() != ')') return std::nullopt;
  const std::string digits = user.substr(at + marker.size(), user.size() - 1 - at - marker.size());
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::make_pair(user.substr(0, at), pid_t(std::stol(digits)));
}

bool isThisProgram(const std::string& name) {
  if (name == programName()) return true;
  for (const char* ours : kProgramNames)
    if (name == ours) return true;
  return false;
}

// Whether a process of that program runs with that id: the kernel keeps the
// first 15 bytes of each program's name, so a process that took over the id
// is told apart.
bool runs(pid_t pid, const std::string& program) {
  if (::kill(pid, 0) != 0 && errno == ESRCH) return false;
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  if (!std::getline(comm, name)) return true;  // cannot tell: taken as running
  return name == program.substr(0, 15);
}

}  // namespace

std::string LockEntry::format() const {
  return escaped(user) + "," + escaped(systemUser) + "," + escaped(host) + "," + escaped(editTime) + "," +
         escaped(userUrl) + ";";
}

std::optional<LockEntry> LockEntry::parse(std::string_view text) {
  std::vector<std::string> fields(1);
  bool ended = false;
  for (std::size_t k = 0; k < text.size() && !ended; ++k) {
    const char c = text[k];
    if (c == '\\' && k + 1 < text.size()) {
      fields.back() += text[++k];
    } else if (c == ',') {
      if (fields.size() == kFields) return std::nullopt;
      fields.emplace_back();
    } else if (c == ';') {
      ended = true;
    } else {
      fields.back() += c;
    }
  }
  if (!ended || fields.size() != kFields) return std::nullopt;
  return LockEntry{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

std::optional<std::string> lockFilePath(const std::string& file) {
  const std::filesystem::path path(file);
  const std::string name = path.filename().string();
  if (name.size() > kLongestName) return std::nullopt;
  return (path.parent_path() / (".~lock." + name + "#")).string();
}

LockEntry entryOfThisProcess() {
  return LockEntry{userText(programName(), ::getpid()), loginName(), hostName(), localTime(), programUrl()};
}

LockHolder holderOf(const LockEntry& entry) {
  auto named = programAndProcess(entry.user);
  if (!named || !isThisProgram(named->first) || entry.host != hostName()) return LockHolder::Someone;
  if (named->second == ::getpid() && named->first == programName()) return LockHolder::ThisProcess;
  return runs(named->second, named->first) ? LockHolder::Someone : LockHolder::GoneRunOfThisProgram;
}

std::string holderName(const LockEntry& entry) {
  if (!entry.user.empty()) return entry.user;
  if (!entry.systemUser.empty()) return entry.systemUser;
  return "an unknown user";
}

}  // namespace vk

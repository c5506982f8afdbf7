// The workbook file on disk: LibreOffice's lock-file entry and who holds a
// lock; the temporary files of a save. (The writer lock, the rename and
// physical paths are tested through the engine and the batch tool.)

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>

#include "workbook/file/LockFile.h"
#include "workbook/file/Replacement.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

std::string hostName() {
  char name[HOST_NAME_MAX + 1] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

// A process id that no process has now: one that has just ended.
pid_t endedProcess() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

TEST(LockFile, EntriesHaveFiveFieldsWithCommasAndSemicolonsEscaped) {
  const LockEntry entry{"velm-kalix (process 12)", "a,b", "host;1", "01.02.2024 10:00", "file:///x\\y"};
  EXPECT_EQ(entry.format(), "velm-kalix (process 12),a\\,b,host\\;1,01.02.2024 10:00,file:///x\\\\y;");
  auto back = LockEntry::parse(entry.format());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->systemUser, "a,b");
  EXPECT_EQ(back->host, "host;1");
  EXPECT_EQ(back->userUrl, "file:///x\\y");
  for (const char* text : {"", "a,b,c,d;", "a,b,c,d,e,f;", "a,b,c,d,e"}) EXPECT_FALSE(LockEntry::parse(text)) << text;
  // This process's own: its name and id where LibreOffice shows the user.
  const LockEntry mine = entryOfThisProcess();
  EXPECT_EQ(mine.user, std::string(program_invocation_short_name) + " (process " + std::to_string(::getpid()) + ")");
  EXPECT_EQ(mine.editTime.size(), 16u);  // DD.MM.YYYY HH:MM
  EXPECT_EQ(holderOf(mine), LockHolder::ThisProcess);
}

TEST(LockFile, StaleOnlyWhenThisProgramOnThisHostNoLongerRuns) {
  const std::string host = hostName();
  const std::string gone = std::to_string(endedProcess());
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + gone + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  EXPECT_EQ(holderOf({"velm-kalix (process " + gone + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  // This test program's process runs: its id under another program's name
  // is an id some other process took over.
  const std::string mine = std::to_string(::getpid());
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + mine + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  // Another host, another program, or a user's name: never stale here.
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + gone + ")", "u", host + "-other", "", ""}), LockHolder::Someone);
  EXPECT_EQ(holderOf({"calc (process " + gone + ")", "u", host, "", ""}), LockHolder::Someone);
  EXPECT_EQ(holderOf({"Someone Else", "u", host, "", ""}), LockHolder::Someone);
}

TEST(Replacement, TemporaryNamesAreShortAndCarryAnIdOfTheName) {
  const std::string longest = std::string(251, 'n') + ".xlsx";
  EXPECT_LE(temporaryPrefix(longest).size(), 40u);
  EXPECT_EQ(temporaryPrefix("results.xlsx").rfind(".results.xlsx.saving-", 0), 0u);
  EXPECT_NE(temporaryPrefix(longest), temporaryPrefix(std::string(251, 'n') + ".xlsm"));
  // A name cut short is cut between characters (each "é" is two bytes).
  std::string accents;
  for (int k = 0; k < 10; ++k) accents += "\xc3\xa9";
  EXPECT_EQ(temporaryPrefix(accents).substr(0, 17), "." + accents.substr(0, 16));
}

// What killed saves of the same file left goes; nothing else does.
TEST(Replacement, ASaveRemovesOnlyWhatKilledSavesOfTheSameFileLeft) {
  const fs::path dir = fs::temp_directory_path() / ("vk-file-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string book = (dir / "book.xlsx").string(), prefix = temporaryPrefix("book.xlsx");
  std::vector<std::string> kept = {"book.xlsx", temporaryPrefix("other.xlsx") + "a1b2c3", prefix + "a1b2c3.keep"};
  for (const std::string& name : {kept[0], kept[1], kept[2], prefix + "a1b2c3", prefix + "zzzzzz"})
    std::ofstream(dir / name) << "left";
  {
    Replacement next(book);
    struct stat like;
    ASSERT_EQ(::stat(book.c_str(), &like), 0);
    next.finish(like, true);
    ASSERT_TRUE(next.putInPlace(stampOf(book)));
  }
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(names, kept);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vk

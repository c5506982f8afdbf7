// The workbook file on disk: LibreOffice's lock-file entry and who holds a
// lock; the temporary files of a save; paths as the kernel means them.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "module1/Fault.h"
#include "workbook/file/LockFile.h"
#include "workbook/file/PhysicalPath.h"
#include "workbook/file/Replacement.h"
#include "workbook/file/WriterLock.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("vk-file-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string& name, const std::string& bytes = "workbook") {
    std::ofstream((dir / name).string(), std::ios::binary) << bytes;
    return (dir / name).string();
  }
  static std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string faultOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const Fault& fault) {
      return fault.what();
    }
    return "no fault";
  }
};

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

// LibreOffice's lock file, written and read back.

TEST(LockFile, EntriesHaveFiveFieldsWithCommasAndSemicolonsEscaped) {
  const LockEntry entry{"velm-kalix (process 12)", "a,b", "host;1", "01.02.2024 10:00", "file:///x\\y"};
  EXPECT_EQ(entry.format(), "velm-kalix (process 12),a\\,b,host\\;1,01.02.2024 10:00,file:///x\\\\y;");
  auto back = LockEntry::parse(entry.format());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->systemUser, "a,b");
  EXPECT_EQ(back->host, "host;1");
  EXPECT_EQ(back->userUrl, "file:///x\\y");
  // LibreOffice's own entry; and what is not one.
  auto theirs = LockEntry::parse("Someone Else,someone,otherhost,01.01.2024 10:00,file:///home/someone/.config/4;");
  ASSERT_TRUE(theirs);
  EXPECT_EQ(holderName(*theirs), "Someone Else");
  EXPECT_EQ(holderName(LockEntry{"", "someone", "h", "", ""}), "someone");
  for (const char* text : {"", "a,b,c,d;", "a,b,c,d,e,f;", "a,b,c,d,e"}) EXPECT_FALSE(LockEntry::parse(text)) << text;
}

TEST(LockFile, ThisProcessNamesItselfWhereLibreOfficeShowsTheUser) {
  const LockEntry mine = entryOfThisProcess();
  EXPECT_EQ(mine.user, std::string(program_invocation_short_name) + " (process " + std::to_string(::getpid()) + ")");
  EXPECT_EQ(mine.host, hostName());
  EXPECT_FALSE(mine.systemUser.empty());
  EXPECT_EQ(mine.editTime.size(), 16u);  // DD.MM.YYYY HH:MM
  EXPECT_EQ(mine.editTime[2], '.');
  EXPECT_EQ(mine.userUrl.rfind("file://", 0), 0u);
  EXPECT_EQ(holderOf(mine), LockHolder::ThisProcess);
}

TEST(LockFile, StaleOnlyWhenThisProgramOnThisHostNoLongerRuns) {
  const std::string host = hostName();
  const std::string gone = std::to_string(endedProcess());
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + gone + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  EXPECT_EQ(holderOf({"velm-kalix (process " + gone + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  // This test program's own process runs: its id with another program's
  // name is an id some other process took over.
  const std::string mine = std::to_string(::getpid());
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + mine + ")", "u", host, "", ""}), LockHolder::GoneRunOfThisProgram);
  // Another host, another program, or a user's name: never stale here.
  EXPECT_EQ(holderOf({"velm-kalix-batch (process " + gone + ")", "u", host + "-other", "", ""}), LockHolder::Someone);
  EXPECT_EQ(holderOf({"calc (process " + gone + ")", "u", host, "", ""}), LockHolder::Someone);
  EXPECT_EQ(holderOf({"Someone Else", "u", host, "", ""}), LockHolder::Someone);
}

TEST(LockFile, NoLockFileForANameLongerThan247Bytes) {
  EXPECT_EQ(lockFilePath("/lab/" + std::string(247, 'n')), "/lab/.~lock." + std::string(247, 'n') + "#");
  EXPECT_FALSE(lockFilePath("/lab/" + std::string(248, 'n')));
}

// The writer lock.

TEST_F(FileTest, TheWriterLockExcludesASecondHolderAndCleansUp) {
  const std::string book = file("book.xlsx");
  WriterLock first(book, book), second(book, book);
  first.acquire();
  const std::string lock = (dir / ".~lock.book.xlsx#").string();
  ASSERT_TRUE(LockEntry::parse(read(lock)));
  EXPECT_NE(faultOf([&] { second.acquire(); }).find("is being written by " + entryOfThisProcess().user),
            std::string::npos);
  EXPECT_FALSE(second.held());
  first.release();
  EXPECT_FALSE(fs::exists(lock));
  second.acquire();
  // A lock file another program put in place of this one's stays.
  std::ofstream(lock) << "Someone Else,someone,otherhost,01.01.2024 10:00,file:///x;";
  second.release();
  EXPECT_TRUE(fs::exists(lock));
}

TEST_F(FileTest, ForeignAndStaleLockFilesAreRefusedAndKept) {
  const std::string book = file("book.xlsx");
  const std::string lock = (dir / ".~lock.book.xlsx#").string();
  const std::string theirs = "Someone Else,someone,otherhost,01.01.2024 10:00,file:///x;";
  std::ofstream(lock) << theirs;
  WriterLock writer(book, "lab/book.xlsx");
  EXPECT_EQ(faultOf([&] { writer.acquire(); }),
            "Workbook error: the workbook lab/book.xlsx is open in another program: Someone Else holds its lock file " +
                lock + ". Close it there and try again");
  EXPECT_EQ(read(lock), theirs);

  const std::string stale = LockEntry{"velm-kalix-batch (process " + std::to_string(endedProcess()) + ")", "u",
                                      hostName(), "01.01.2024 10:00", "file:///x"}
                                .format();
  std::ofstream(lock, std::ios::trunc) << stale;
  const std::string text = faultOf([&] { writer.acquire(); });
  EXPECT_NE(text.find("has a stale lock file: " + lock), std::string::npos) << text;
  EXPECT_NE(text.find("which no longer runs. Delete the lock file and try again"), std::string::npos) << text;
  EXPECT_EQ(read(lock), stale);
  EXPECT_FALSE(writer.held());
  // This process's own lock file is its own.
  std::ofstream(lock, std::ios::trunc) << entryOfThisProcess().format();
  writer.acquire();
  writer.release();
  EXPECT_FALSE(fs::exists(lock));
}

// Temporary files of a save.

TEST_F(FileTest, TemporaryNamesAreShortAndCarryAnIdOfTheName) {
  const std::string longest = std::string(251, 'n') + ".xlsx";
  EXPECT_LE(temporaryPrefix(longest).size(), 40u);
  EXPECT_EQ(temporaryPrefix("results.xlsx").rfind(".results.xlsx.saving-", 0), 0u);
  EXPECT_NE(temporaryPrefix(longest), temporaryPrefix(std::string(251, 'n') + ".xlsm"));
  // A name cut short is cut between characters (each "é" is two bytes).
  std::string accents;
  for (int k = 0; k < 10; ++k) accents += "\xc3\xa9";
  EXPECT_EQ(temporaryPrefix(accents).substr(0, 17), "." + accents.substr(0, 16));
}

TEST_F(FileTest, ASaveRemovesWhatKilledSavesOfTheSameFileLeft) {
  const std::string book = file("book.xlsx", "old");
  const std::string prefix = temporaryPrefix("book.xlsx");
  for (const std::string& name :
       {prefix + "a1b2c3", prefix + "zzzzzz", temporaryPrefix("other.xlsx") + "a1b2c3", prefix + "a1b2c3.keep"})
    file(name, "left");
  {
    Replacement next(book);
    next.write("new");
    struct stat like;
    ASSERT_EQ(::stat(book.c_str(), &like), 0);
    next.finish(like, true);
    ASSERT_TRUE(next.putInPlace(stampOf(book)));
  }
  EXPECT_EQ(read(book), "new");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  std::vector<std::string> kept = {temporaryPrefix("other.xlsx") + "a1b2c3", prefix + "a1b2c3.keep", "book.xlsx"};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(names, kept);
}

TEST_F(FileTest, ANewVersionGoesInPlaceOnlyOverTheVersionExpected) {
  const std::string book = file("book.xlsx", "old");
  const auto read1 = stampOf(book);
  struct stat like;
  ASSERT_EQ(::stat(book.c_str(), &like), 0);
  file("book.xlsx.tmp", "theirs");
  fs::rename(dir / "book.xlsx.tmp", book);
  {
    Replacement next(book);
    next.write("mine");
    next.finish(like, true);
    EXPECT_FALSE(next.putInPlace(read1));
  }
  EXPECT_EQ(read(book), "theirs");
  // Where nothing was, nothing may have appeared.
  const std::string fresh = (dir / "fresh.xlsx").string();
  {
    Replacement next(fresh);
    next.finish(like, false);
    file("fresh.xlsx", "appeared");
    EXPECT_FALSE(next.putInPlace(std::nullopt));
  }
  EXPECT_EQ(read(fresh), "appeared");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

// Paths as the kernel means them.

TEST_F(FileTest, DotDotAfterALinkIsTakenAfterTheLink) {
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b/c");
  fs::create_directory_symlink("../b/c", dir / "a/link");
  const std::string real = fs::canonical(dir).string();
  EXPECT_EQ(physicalPath((dir / "a/link/../book.xlsx").string()), real + "/b/book.xlsx");
  file("b/book.xlsx");
  fs::create_symlink(real + "/b/book.xlsx", dir / "a/shortcut.xlsx");
  EXPECT_EQ(physicalPath((dir / "a/shortcut.xlsx").string()), real + "/a/shortcut.xlsx");  // the link itself
  EXPECT_EQ(resolvedFile((dir / "a/shortcut.xlsx").string()), real + "/b/book.xlsx");
  EXPECT_EQ(physicalPath((dir / "a/link/..").string()), real + "/b");
  EXPECT_EQ(physicalPath((dir / "missing/x.xlsx").string()), (dir / "missing/x.xlsx").string());
}

}  // namespace
}  // namespace vk

// The batch tool as a process, where its promises about files are kept or
// broken: killed at random moments of a long analysis, run in pairs on one
// file, its file replaced while it works, the LibreOffice it started ended
// with it; and its command line as a user or a script meets it.

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "apps/batch/ExitStatus.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestFolder.h"
#include "tests/support/XlsxCells.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kSource = VK_SOURCE_DIR;
const std::string kTool = VK_BATCH_TOOL;

std::string lockFileOf(const fs::path& workbook) {
  return (workbook.parent_path() / (".~lock." + workbook.filename().string() + "#")).string();
}

ino_t inodeOf(const fs::path& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The archive with the modification time of every entry set to zero. A part
// the analysis rewrites carries the time of its save; nothing else may
// differ between two files of the same analysis.
std::string withoutEntryTimes(std::string zip) {
  auto u16 = [&](std::size_t at) {
    return std::size_t(std::uint8_t(zip[at])) | std::size_t(std::uint8_t(zip[at + 1])) << 8;
  };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  const std::size_t end = zip.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos || end + 22 > zip.size()) return zip;
  std::size_t at = u32(end + 16);
  for (std::size_t k = 0, entries = u16(end + 10); k < entries && at + 46 <= zip.size() && u32(at) == 0x02014b50; ++k) {
    std::fill_n(zip.begin() + std::ptrdiff_t(at + 12), 4, '\0');
    const std::size_t local = u32(at + 42);
    if (local + 30 <= zip.size() && u32(local) == 0x04034b50)
      std::fill_n(zip.begin() + std::ptrdiff_t(local + 10), 4, '\0');
    at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
  }
  return zip;
}

// What the analysis leaves on sheets 2 and 3, cell by cell.
using SheetCells = StoredCells;
std::pair<SheetCells, SheetCells> resultCells(const fs::path& workbook) {
  return {readStoredCells(workbook.string(), 2), readStoredCells(workbook.string(), 3)};
}
bool sameCells(const std::pair<SheetCells, SheetCells>& a, const std::pair<SheetCells, SheetCells>& b) {
  return test::sameCells(a.first, b.first) && test::sameCells(a.second, b.second);
}

// Waits for the condition, looking every few milliseconds; false when the time ran out.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class BatchProcess : public ::testing::Test {
 protected:
  fs::path dir;      // the workbooks, and nothing else
  fs::path outputs;  // what the runs print

  void SetUp() override {
    dir = test::freshTestFolder("vk-batch-process");
    outputs = test::freshTestFolder("vk-batch-process-out");
  }
  void TearDown() override {
    fs::remove_all(dir);
    fs::remove_all(outputs);
  }

  // A test of `sets` probes with `readings` readings each, made from the template.
  fs::path longWorkbook(const std::string& name, int sets, int readings) {
#ifdef VK_MAKE_TEST_WORKBOOK
    const fs::path path = dir / name;
    Ended made = runToEnd({VK_MAKE_TEST_WORKBOOK, (kSource / "templates/template.xlsx").string(), path.string(),
                           std::to_string(sets), std::to_string(readings)},
                          outputs.string());
    EXPECT_EQ(made.status, 0) << made.err;
    return path;
#else
    (void)name, (void)sets, (void)readings;
    return {};
#endif
  }
  void needLongWorkbooks() {
#ifndef VK_MAKE_TEST_WORKBOOK
    GTEST_SKIP() << "make-test-workbook is built with the benchmarks only";
#endif
  }

  Ended analyse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), kTool);
    return runToEnd(arguments, outputs.string());
  }
};

// 1. The batch tool analyses as one transaction: a kill at any moment leaves
// the old file or the whole new one, byte for byte but for the entries'
// save times; the lock file of a killed run is named stale, and the next
// save removes the temporary file a killed save left.
TEST_F(BatchProcess, KilledAtRandomMomentsLeavesTheOldFileOrTheWholeNewOne) {
  needLongWorkbooks();
  if (IsSkipped()) return;
  const fs::path book = longWorkbook("long.xlsx", 6, 30000);
  const std::string old = fileBytes(book.string());
  fs::create_directory(dir / "whole");
  fs::copy_file(book, dir / "whole/long.xlsx");
  const auto started = Clock::now();
  ASSERT_EQ(analyse({(dir / "whole/long.xlsx").string()}).status, 0);
  const double runTime = secondsSince(started);
  const std::string whole = withoutEntryTimes(fileBytes((dir / "whole/long.xlsx").string()));
  fs::remove_all(dir / "whole");
  ASSERT_NE(whole, withoutEntryTimes(old));

  // Every third kill comes at a random moment of the save, which is short:
  // soon after its temporary file appears; the others anywhere in the run.
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> anywhere(0.0, 1.1 * runTime), inTheSave(0.0, 0.03);
  auto temporaries = [&] {
    std::set<std::string> names;
    for (const std::string& name : namesIn(dir))
      if (name.rfind(".long.xlsx.saving-", 0) == 0) names.insert(name);
    return names;
  };
  int kills = 0, oldFiles = 0, wholeFiles = 0, finished = 0, staleLocks = 0, duringSaves = 0;
  // Under load a save can slip past every kill for a while: go on until
  // both kinds of kill have come, within a bound.
  for (int round = 0; (kills < 30 || duringSaves == 0 || wholeFiles == 0) && round < 200; ++round) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
    writeBytes(book, old);
    const std::set<std::string> leftBefore = temporaries();
    auto saving = [&] {  // a temporary file that was not left by an earlier round
      const std::set<std::string> now = temporaries();
      return std::any_of(now.begin(), now.end(), [&](const std::string& n) { return !leftBefore.count(n); });
    };
    {
      ChildProcess run({kTool, book.string()}, outputs.string());
      if (round % 3 == 2) {
        waitUntil([&] { return saving() || !run.running(); }, std::chrono::seconds(30));
        std::this_thread::sleep_for(std::chrono::duration<double>(inTheSave(random)));
      } else {
        std::this_thread::sleep_for(std::chrono::duration<double>(anywhere(random)));
      }
      if (run.running()) {
        run.kill(SIGKILL);
        ++kills;
      }
      if (run.wait().status == 0) ++finished;
    }
    const std::string now = fileBytes(book.string());
    if (now == old)
      ++oldFiles;
    else if (now.size() == whole.size() && withoutEntryTimes(now) == whole)
      ++wholeFiles;
    else
      FAIL() << "the workbook is neither the old file nor the whole new one";
    if (saving()) ++duringSaves;  // killed in the middle of a save
    if (fs::exists(lockFileOf(book))) {
      Ended refused = analyse({book.string()});
      EXPECT_EQ(refused.status, 1);
      EXPECT_NE(refused.err.find("stale lock file"), std::string::npos) << refused.err;
      EXPECT_TRUE(fileBytes(book.string()) == now);
      fs::remove(lockFileOf(book));  // as the message says
      ++staleLocks;
    }
  }
  EXPECT_GE(kills, 30);
  EXPECT_GT(oldFiles, 0);
  EXPECT_GT(duringSaves, 0) << "no kill came while a save was written";
  EXPECT_GT(wholeFiles, 0) << "no kill came after a rename; the test proved half of it";
  ASSERT_EQ(analyse({book.string()}).status, 0);
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"long.xlsx"});
  std::cout << "run " << runTime << " s; " << kills << " kills (" << duringSaves
            << " while a save was written): " << oldFiles << " old files, " << wholeFiles << " whole new ones ("
            << finished << " runs ended before their kill), " << staleLocks << " stale lock files named\n";
}

// 1. Ctrl+C, SIGTERM or a closed terminal: the run ends leaving the file as
// it was and no lock file behind, so the next run goes ahead.
TEST_F(BatchProcess, AnInterruptedRunLeavesNoLockFile) {
  needLongWorkbooks();
  if (IsSkipped()) return;
  const fs::path book = longWorkbook("long.xlsx", 6, 30000);
  const std::string old = fileBytes(book.string());
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    ChildProcess run({kTool, book.string()}, outputs.string());
    ASSERT_TRUE(waitUntil([&] { return fs::exists(lockFileOf(book)) || !run.running(); }, std::chrono::seconds(20)));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(run.running());
    run.kill(signal);
    EXPECT_EQ(run.wait().signal, signal);
    EXPECT_TRUE(fileBytes(book.string()) == old);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"long.xlsx"});
  }
  EXPECT_EQ(analyse({book.string()}).status, 0);
}

// 2. One program at a time: two runs started together on one file each
// analyse with their own thresholds, or one refuses because the other holds
// the file; the file then holds one run's analysis, never a mix.
TEST_F(BatchProcess, PairsOnOneFileEachAnalyseWithTheirOwnThresholdsOrRefuse) {
  needLongWorkbooks();
  if (IsSkipped()) return;
  const fs::path book = longWorkbook("pair.xlsx", 6, 3000);
  const std::string old = fileBytes(book.string());
  const std::vector<std::string> thresholds = {"5,5,5,5,5,5", "15,15,15,15,15,15"};
  std::vector<std::string> summaries;
  std::vector<std::pair<SheetCells, SheetCells>> cells;
  for (const std::string& list : thresholds) {
    Ended alone = analyse({"--thresholds", list, book.string()});
    ASSERT_EQ(alone.status, 0) << alone.err;
    summaries.push_back(alone.out);
    cells.push_back(resultCells(book));
    writeBytes(book, old);
  }
  ASSERT_NE(summaries[0], summaries[1]);

  int bothAnalysed = 0, oneRefused = 0;
  for (int pair = 0; pair < 20; ++pair) {
    SCOPED_TRACE("pair " + std::to_string(pair));
    writeBytes(book, old);
    std::vector<Ended> ended;
    {
      ChildProcess first({kTool, "--thresholds", thresholds[0], book.string()}, outputs.string());
      ChildProcess second({kTool, "--thresholds", thresholds[1], book.string()}, outputs.string());
      ended = {first.wait(), second.wait()};
    }
    std::vector<std::size_t> analysed;
    for (std::size_t k = 0; k < 2; ++k) {
      if (ended[k].status == 0) {
        EXPECT_EQ(ended[k].out, summaries[k]) << "run " << k << " printed another analysis";
        analysed.push_back(k);
      } else {
        EXPECT_EQ(ended[k].status, 1);
        EXPECT_NE(ended[k].err.find("velm-kalix-batch (process"), std::string::npos) << ended[k].err;
      }
    }
    ASSERT_FALSE(analysed.empty()) << "both refused";
    const auto now = resultCells(book);
    const bool one = sameCells(now, cells[0]) || sameCells(now, cells[1]);
    EXPECT_TRUE(one) << "the file holds a mix of two analyses";
    if (analysed.size() == 1) {
      EXPECT_TRUE(sameCells(now, cells[analysed[0]])) << "the refused run's analysis";
    }
    (analysed.size() == 2 ? bothAnalysed : oneRefused)++;
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"pair.xlsx"});
  }
  std::cout << "20 pairs: " << oneRefused << " with one run refused, " << bothAnalysed << " one after the other\n";
}

// 2. The file is still the one read: another program puts a new file in
// place during a run; the run refuses and the new file stays as it is.
TEST_F(BatchProcess, AFileReplacedDuringARunIsRefusedAndTheReplacementKept) {
  needLongWorkbooks();
  if (IsSkipped()) return;
  const fs::path book = longWorkbook("long.xlsx", 6, 30000);
  const std::string old = fileBytes(book.string());
  const std::string theirs = fileBytes((kSource / "templates/sample.xlsx").string());
  int refused = 0;
  for (int afterLock : {30, 150, 300, 450}) {
    SCOPED_TRACE(std::to_string(afterLock) + " ms after the lock");
    writeBytes(book, old);
    writeBytes(dir / "theirs.tmp", theirs);
    const ino_t ours = inodeOf(book);
    ChildProcess run({kTool, book.string()}, outputs.string());
    ASSERT_TRUE(waitUntil([&] { return fs::exists(lockFileOf(book)) || !run.running(); }, std::chrono::seconds(20)));
    std::this_thread::sleep_for(std::chrono::milliseconds(afterLock));
    // A machine faster than this test expects, whose run has already put its
    // new file in place: nothing to see.
    if (!run.running() || inodeOf(book) != ours) {
      run.wait();
      fs::remove(dir / "theirs.tmp");
      continue;
    }
    fs::rename(dir / "theirs.tmp", book);
    Ended ended = run.wait();
    EXPECT_EQ(ended.status, 1);
    EXPECT_NE(ended.err.find("changed by another program"), std::string::npos) << ended.err;
    EXPECT_NE(ended.err.find("Nothing was written."), std::string::npos) << ended.err;
    EXPECT_TRUE(fileBytes(book.string()) == theirs) << "the replacement was overwritten";
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"long.xlsx"}) << "a lock or temporary file was left";
    ++refused;
  }
  EXPECT_GT(refused, 0);
}

#ifdef VK_HAVE_LIBREOFFICE
// The processes whose command line holds `marker`.
std::vector<pid_t> processesWith(const std::string& marker) {
  std::vector<pid_t> found;
  DIR* proc = ::opendir("/proc");
  while (const dirent* entry = proc ? ::readdir(proc) : nullptr) {
    const std::string name = entry->d_name;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string line = fileBytes("/proc/" + name + "/cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    if (line.find(marker) != std::string::npos) found.push_back(pid_t(std::stol(name)));
  }
  if (proc) ::closedir(proc);
  return found;
}

// 2. A LibreOffice started by the batch tool ends with it, also when the
// tool is killed in the middle of an analysis; nothing is stored then.
TEST_F(BatchProcess, AnOfficeItStartedEndsWithItWhenItIsKilled) {
  needLongWorkbooks();
  if (IsSkipped()) return;
  const fs::path book = longWorkbook("live.xlsx", 6, 3000);
  const std::string old = fileBytes(book.string());
  ChildProcess run({kTool, "--engine", "libreoffice", book.string()}, outputs.string());
  const std::string marker = "velm_kalix_batch_" + std::to_string(run.pid());
  std::string profile;  // soffice.bin's command line first
  ASSERT_TRUE(waitUntil(
      [&] {
        for (pid_t office : processesWith(marker))
          if ((profile = fileBytes("/proc/" + std::to_string(office) + "/cmdline")).find("soffice.bin") !=
              std::string::npos)
            return true;
        return false;
      },
      std::chrono::seconds(120)))
      << "no LibreOffice was started";
  const std::size_t from = profile.find("-env:UserInstallation=file://");
  ASSERT_NE(from, std::string::npos);
  profile = profile.substr(from + 29, profile.find('\0', from) - from - 29);
  std::this_thread::sleep_for(std::chrono::seconds(1));  // well into the analysis
  ASSERT_TRUE(run.running()) << "the analysis ended before it could be killed";
  run.kill(SIGKILL);
  run.wait();
  const auto killed = Clock::now();
  EXPECT_TRUE(waitUntil([&] { return processesWith(marker).empty(); }, std::chrono::seconds(60)))
      << "LibreOffice outlived the batch tool";
  const double gone = secondsSince(killed);
  EXPECT_TRUE(waitUntil([&] { return !fs::exists(fs::path(profile).parent_path()); }, std::chrono::seconds(30)))
      << "the private profile " << profile << " was left";
  EXPECT_TRUE(fileBytes(book.string()) == old);
  std::cout << "LibreOffice gone " << gone << " s after the batch tool was killed\n";
}
#endif

// 3. The command line, as a user or a script meets it.
class BatchCommandLine : public BatchProcess {};

TEST_F(BatchCommandLine, HelpAndVersionExitWithZeroAndTheReadmeHasTheSameExitStatuses) {
  for (const char* help : {"-h", "--help"}) {
    Ended ended = analyse({help});
    EXPECT_EQ(ended.status, 0);
    EXPECT_EQ(ended.out.rfind("usage: velm-kalix-batch", 0), 0u) << ended.out;
    EXPECT_EQ(ended.err, "");
  }
  const std::string usage = analyse({"--help"}).out;
  const std::string readme = fileBytes((kSource / "README.md").string());
  for (const ExitStatusMeaning& line : kExitStatuses) {
    const std::string status = std::to_string(line.status);
    EXPECT_NE(usage.find("  " + status + "  " + line.meaning + "\n"), std::string::npos) << status;
    EXPECT_NE(readme.find("| " + status + " | " + line.meaning + " |"), std::string::npos) << status;
  }
  Ended version = analyse({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("velm-kalix-batch ", 0), 0u) << version.out;
}

TEST_F(BatchCommandLine, AUsageErrorExitsWithTwoBeforeAnythingIsRead) {
  const fs::path book = dir / "three-sets.xlsx";
  fs::copy_file(kSource / "tests/data/e2e/three-sets.xlsx", book);
  const std::string before = fileBytes(book.string());
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                    {"--thresholds", "5,x", book.string()},
                                                    {"--colour", book.string()},
                                                    {"--output", "copy.xlsx", book.string(), book.string()},
                                                    {"--jobs", "0", book.string()},
                                                    {"--force", book.string()},
                                                    {book.string(), "--output"}}) {
    Ended ended = analyse(arguments);
    EXPECT_EQ(ended.status, 2) << ended.err;
    EXPECT_NE(ended.err.find("usage: velm-kalix-batch"), std::string::npos);
    EXPECT_EQ(ended.out, "");
  }
  EXPECT_TRUE(fileBytes(book.string()) == before);
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"three-sets.xlsx"});
}

}  // namespace
}  // namespace vk::test

// Report files on disk: written whole through a temporary file and a rename,
// an earlier report replaced only by a complete one, a read-only or missing
// folder refused before anything is written, a report streamed through an
// unnamed spool; and the analysis time of the header.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "export/ReportFile.h"
#include "export/ReportHeader.h"
#include "export/SpoolFile.h"

namespace vk::exporter {
namespace {

namespace fs = std::filesystem;

struct ReportFile : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("vk-report-file-" + std::to_string(::getpid()));
  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
  }
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) found.insert(entry.path().filename().string());
    return found;
  }
  static std::string read(const fs::path& file) {
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
  }
  // The message of the failure `write` raises, or "" without one.
  static std::string failure(const std::function<void()>& write) {
    try {
      write();
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(ReportFile, WrittenWholeAndReplacingAnEarlierOneWithNothingLeftBeside) {
  const fs::path report = dir / "sample.xlsx.report.html";
  writeReportFile(report.string(), "first");
  writeReportFile(report.string(), std::string(100000, 'x'));
  EXPECT_EQ(read(report), std::string(100000, 'x'));
  EXPECT_EQ(names(), std::set<std::string>{"sample.xlsx.report.html"});
  // A new file is the user's to read, as the umask allows.
  EXPECT_NE(fs::status(report).permissions() & fs::perms::owner_read, fs::perms::none);
}

// The permission bits count as well as access: the superuser, whom they do
// not stop, is refused too.
TEST_F(ReportFile, AReadOnlyOrMissingFolderIsRefusedAndNothingIsWritten) {
  const fs::path report = dir / "report.json";
  writeReportFile(report.string(), "earlier");
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec);
  const std::string message = failure([&] { writeReportFile(report.string(), "later"); });
  EXPECT_NE(message.find("the folder " + dir.string() + " is read-only"), std::string::npos) << message;
  EXPECT_NE(message.find("report.json"), std::string::npos) << message;
  fs::permissions(dir, fs::perms::owner_all);
  EXPECT_EQ(read(report), "earlier");
  EXPECT_EQ(names(), std::set<std::string>{"report.json"});

  const std::string missing = failure([&] { writeReportFile((dir / "no-such" / "r.csv").string(), "x"); });
  EXPECT_NE(missing.find("does not exist"), std::string::npos) << missing;
}

TEST_F(ReportFile, AFailedWriteLeavesNoTemporaryFile) {
  fs::create_directory(dir / "taken.html");  // a folder where the report should go: the rename fails
  const std::string message = failure([&] { writeReportFile((dir / "taken.html").string(), "report"); });
  EXPECT_NE(message.find("cannot write " + (dir / "taken.html").string()), std::string::npos) << message;
  EXPECT_EQ(names(), std::set<std::string>{"taken.html"});
}

// A report written as it is produced, its middle spooled through a file
// that has no name: whole or not at all, and nothing else in the folder.
TEST_F(ReportFile, StreamedWholeOrNotAtAllWithItsSpoolLeavingNoName) {
  const fs::path report = dir / "campaign.html";
  writeReportFile(report.string(), "earlier");
  SpoolFile spool(dir.string());
  for (int k = 0; k < 20000; ++k) spool.stream() << "<p>test " << k << "</p>\n";
  EXPECT_EQ(names(), std::set<std::string>{"campaign.html"});

  const std::string failed = failure([&] {
    StagedReportFile(report.string(), [&](std::ostream& out) {
      out << std::string(200000, 'x');
      throw std::runtime_error("a test could not be rendered");
    }).publish();
  });
  EXPECT_EQ(failed, "a test could not be rendered");
  EXPECT_EQ(read(report), "earlier");
  EXPECT_EQ(names(), std::set<std::string>{"campaign.html"});

  StagedReportFile whole(report.string(), [&](std::ostream& out) {
    out << "<head/>\n";
    spool.copyTo(out);
    out << "<tail/>\n";
  });
  whole.publish();
  const std::string text = read(report);
  EXPECT_EQ(text.rfind("<head/>\n<p>test 0</p>\n<p>test 1</p>\n", 0), 0u);
  const std::string end = "<p>test 19999</p>\n<tail/>\n";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
  std::ostringstream again;
  spool.copyTo(again);  // the spool is read from its start every time
  EXPECT_EQ("<head/>\n" + again.str() + "<tail/>\n", text);
  EXPECT_EQ(names(), std::set<std::string>{"campaign.html"});
}

TEST(ReportHeader, TheAnalysisTimeIsUtcToTheSecond) {
  using namespace std::chrono;
  EXPECT_EQ(utcTimestamp(system_clock::time_point(seconds(1714557600))), "2024-05-01T10:00:00Z");
  EXPECT_EQ(utcTimestamp(system_clock::time_point(seconds(951782399) + milliseconds(999))), "2000-02-28T23:59:59Z");
  const ReportHeader now = reportHeaderNow("embedded", "sample.xlsx", "");
  EXPECT_EQ(now.analysisTime.size(), 20u);
  EXPECT_EQ(now.analysisTime.substr(0, 2), "20");
  EXPECT_FALSE(now.programVersion.empty());
  EXPECT_EQ(now.workbookName, "sample.xlsx");
}

}  // namespace
}  // namespace vk::exporter

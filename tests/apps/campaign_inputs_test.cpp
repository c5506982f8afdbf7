// What a campaign analyses and how it shows its progress: the workbooks of
// folders and names, each once and in name order; the line on a terminal.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/batch/CampaignInputs.h"
#include "apps/batch/CampaignProgress.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

struct CampaignInputs : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("vk-campaign-inputs-" + std::to_string(::getpid()));
  const std::vector<std::string> xlsx = {"xlsx", "xlsm"};

  void SetUp() override {
    fs::remove_all(dir);
    fs::create_directories(dir / "runs/later");
    for (const char* name : {"runs/b.xlsx", "runs/A.XLSX", "runs/c.xlsm", "runs/notes.txt", "runs/.hidden.xlsx",
                             "runs/~$b.xlsx", "runs/.~lock.b.xlsx#", "runs/later/a2.xlsx", "runs/old.xls"})
      std::ofstream(dir / name) << "x";
    fs::create_directory(dir / "runs/folder.xlsx");
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string at(const std::string& relative) const { return (dir / relative).string(); }
};

TEST_F(CampaignInputs, AFoldersWorkbooksInNameOrderAndNothingElse) {
  std::string error;
  EXPECT_EQ(campaignWorkbooks({at("runs")}, xlsx, false, error),
            (std::vector<std::string>{at("runs/A.XLSX"), at("runs/b.xlsx"), at("runs/c.xlsm")}));
  EXPECT_EQ(error, "");
  EXPECT_EQ(
      campaignWorkbooks({at("runs")}, xlsx, true, error),
      (std::vector<std::string>{at("runs/A.XLSX"), at("runs/later/a2.xlsx"), at("runs/b.xlsx"), at("runs/c.xlsm")}));
  // Another engine opens other files.
  EXPECT_EQ(campaignWorkbooks({at("runs")}, {"xls"}, false, error), std::vector<std::string>{at("runs/old.xls")});
}

TEST_F(CampaignInputs, EachFileOnceWhateverItIsNamedByAndInOneOrder) {
  fs::create_symlink(dir / "runs/b.xlsx", dir / "link-to-b.xlsx");
  fs::create_hard_link(dir / "runs/c.xlsm", dir / "hard-c.xlsm");
  std::string error;
  const std::vector<std::string> one =
      campaignWorkbooks({at("runs/c.xlsm"), at("link-to-b.xlsx"), at("runs"), at("hard-c.xlsm")}, xlsx, false, error);
  const std::vector<std::string> other =
      campaignWorkbooks({at("hard-c.xlsm"), at("runs"), at("runs/b.xlsx"), at("link-to-b.xlsx")}, xlsx, false, error);
  EXPECT_EQ(one, other);
  EXPECT_EQ(one, (std::vector<std::string>{at("runs/A.XLSX"), at("runs/b.xlsx"), at("runs/c.xlsm")}));
  // A name that is not there is kept, for its analysis to say so.
  EXPECT_EQ(campaignWorkbooks({at("gone.xlsx"), at("runs/b.xlsx")}, xlsx, false, error).size(), 2u);
}

TEST_F(CampaignInputs, AnEmptyOrUnreadableFolderIsAUsageError) {
  fs::create_directory(dir / "empty");
  std::string error;
  EXPECT_TRUE(campaignWorkbooks({at("empty")}, xlsx, false, error).empty());
  EXPECT_EQ(error, "no workbook in " + at("empty") + " (files ending .xlsx, .xlsm)");
  if (::geteuid() != 0) {  // the superuser reads any folder
    fs::permissions(dir / "runs", fs::perms::owner_write);
    error.clear();
    campaignWorkbooks({at("runs")}, xlsx, false, error);
    EXPECT_EQ(error.rfind("cannot read the folder " + at("runs"), 0), 0u) << error;
    fs::permissions(dir / "runs", fs::perms::owner_all);
  }
}

TEST_F(CampaignInputs, CopiesThatWouldBeOneFileOrAWorkbook) {
  EXPECT_EQ(copiesError({at("runs/b.xlsx"), at("runs/c.xlsm")}, at("out")), "");
  EXPECT_EQ(copyIn(at("out"), at("runs/b.xlsx")), at("out/b.xlsx"));
  fs::create_directory(dir / "other");
  std::ofstream(dir / "other/b.xlsx") << "x";
  EXPECT_EQ(copiesError({at("other/b.xlsx"), at("runs/b.xlsx")}, at("out")),
            at("other/b.xlsx") + " and " + at("runs/b.xlsx") + " would both be copied to " + at("out/b.xlsx") +
                "; analyse them in two runs");
  EXPECT_NE(copiesError({at("runs/b.xlsx"), at("other/b.xlsx")}, at("runs")).find("would be the workbook"),
            std::string::npos);
}

// On a terminal the line is drawn over itself and taken away before anything
// else is written; disabled, only the writing comes through.
TEST(CampaignProgressLine, IsTakenAwayBeforeOtherOutputAndAtTheEnd) {
  std::ostringstream err;
  {
    CampaignProgress progress(true, 3, err);
    progress.started("a.xlsx");
    progress.started("b.xlsx");
    progress.finished("a.xlsx");
    progress.around([&] { err << "a.xlsx: warning: something\n"; });
  }
  const std::string text = err.str();
  const auto drawn = text.find("\r\x1b[Kvelm-kalix-batch: 0/3 done, ");
  ASSERT_NE(drawn, std::string::npos) << text;
  EXPECT_NE(text.find("; analysing a.xlsx, b.xlsx", drawn), std::string::npos) << text;
  // The line goes, the warning is written on a line of its own, the line comes back.
  const auto warning = text.find("; analysing b.xlsx\r\x1b[Ka.xlsx: warning: something\n\r\x1b[Kvelm-kalix-batch: 1/3");
  EXPECT_NE(warning, std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 4), "\r\x1b[K");  // nothing is left on the line

  std::ostringstream quiet;
  {
    CampaignProgress progress(false, 3, quiet);
    progress.started("a.xlsx");
    progress.around([&] { quiet << "a.xlsx: warning: something\n"; });
  }
  EXPECT_EQ(quiet.str(), "a.xlsx: warning: something\n");
}

}  // namespace
}  // namespace vk

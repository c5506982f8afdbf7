// The batch tool under LibreOffice analyses as one transaction: the document
// is stored into its file once, when the whole analysis succeeded, written
// beside it and renamed over it while it is still the file that was loaded;
// after a fault it is closed without storing; a document already open in the
// office is refused. A campaign takes its documents one at a time.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "apps/batch/Campaign.h"
#include "commands/CommitAfter.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LiveTransaction : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(TestOffice::get().folder()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir);
    LibreOfficeOptions options = TestOffice::get().engineOptions();
    options.loadHidden = true;
    options.asTransaction = true;
    engine = loadLibreOfficeEngine(options);
  }
  void TearDown() override {
    engine->finishUnattended();
    fs::remove_all(dir);
  }
  OfficeConnection& office() { return TestOffice::get().connection(); }

  // A test of one probe of 13 readings, copied as `name`.
  fs::path workbook(const std::string& name) {
    fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e/one-set.xlsx", dir / name);
    return dir / name;
  }
  int run(const fs::path& file) {
    BatchOptions options;
    options.workbook = file.string();
    options.engine = "libreoffice";
    return RunBatch(options, engine, out, err);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& e : fs::directory_iterator(dir)) found.push_back(e.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

  fs::path dir;
  std::shared_ptr<LibreOfficeEngine> engine;
  std::ostringstream out, err;
};

TEST_F(LiveTransaction, AFaultStoresNothingAndTheDocumentIsClosed) {
  fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e/two-sheets.xlsx", dir / "two-sheets.xlsx");
  std::ofstream(dir / "empty.xlsx").close();  // 0 bytes
  for (const char* name : {"two-sheets.xlsx", "empty.xlsx"}) {
    SCOPED_TRACE(name);
    const std::string before = bytesOf(dir / name);
    EXPECT_EQ(run(dir / name), 1);
    EXPECT_NE(err.str().find("Nothing was written."), std::string::npos) << err.str();
    engine->finishUnattended();
    EXPECT_FALSE(isOpen(office(), (dir / name).string()));
    EXPECT_TRUE(bytesOf(dir / name) == before) << "the file was stored";
  }
  EXPECT_EQ(names(), (std::vector<std::string>{"empty.xlsx", "two-sheets.xlsx"}));
}

TEST_F(LiveTransaction, ADocumentOpenInTheOfficeIsRefusedAndLeftAsItIs) {
  const fs::path file = workbook("open.xlsx");
  const std::string before = bytesOf(file);
  Document users = openAsUser(office(), file.string());
  EXPECT_EQ(run(file), 1);
  EXPECT_NE(err.str().find("is open in LibreOffice"), std::string::npos) << err.str();
  engine->finishUnattended();
  EXPECT_TRUE(isOpen(office(), file.string()));
  EXPECT_TRUE(isEmptyCell(users, 3, 13, 1));  // nothing of an analysis reached it
  EXPECT_TRUE(bytesOf(file) == before);
  closeDocument(users);
}

TEST_F(LiveTransaction, OutputStoresTheCopyAndOnlyReadsTheWorkbook) {
  const fs::path file = workbook("source.xlsx");
  const std::string before = bytesOf(file);
  BatchOptions options;
  options.workbook = file.string();
  options.output = (dir / "copy.ods").string();
  ASSERT_EQ(RunBatch(options, engine, out, err), 0) << err.str();
  engine->finishUnattended();
  EXPECT_TRUE(bytesOf(file) == before);
  EXPECT_EQ(names(), (std::vector<std::string>{"copy.ods", "source.xlsx"}));
  Document stored = openAsUser(office(), (dir / "copy.ods").string());
  EXPECT_EQ(cell(stored, 3, 13, 1)->getValue(), 1.0);
  closeDocument(stored);
}

// A screen whose Run, at its start, is the moment another program saves its
// own version of the workbook.
struct SavedMeanwhile : RecordingFeedback {
  fs::path workbook;
  std::string theirs;
  void setCaption(Control c, const std::string& caption) override {
    if (caption == "Be patient!!") {
      std::ofstream(workbook.string() + ".new", std::ios::binary) << theirs;
      fs::rename(workbook.string() + ".new", workbook);
    }
    RecordingFeedback::setCaption(c, caption);
  }
};

TEST_F(LiveTransaction, AFileReplacedDuringTheAnalysisIsNotStoredOver) {
  SavedMeanwhile screen;
  screen.workbook = workbook("replaced.xlsx");
  screen.theirs = bytesOf(fs::path(VK_SOURCE_DIR) / "templates/template.xlsx");
  Module1 m;
  m.Engine = engine;
  try {
    commitAfter(
        m,
        [&] {
          OpenWorkbook(m, screen, dir.string(), "replaced.xlsx");
          ReadDataSets(m, screen);
          RunAnalysis(m, screen);
        },
        AfterFault::WriteNothing);
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_NE(std::string(fault.what()).find("changed by another program"), std::string::npos) << fault.what();
  }
  EXPECT_TRUE(bytesOf(screen.workbook) == screen.theirs) << "the other program's file was stored over";
  engine->finishUnattended();
  EXPECT_EQ(names(), std::vector<std::string>{"replaced.xlsx"});
}

}  // namespace
}  // namespace vk::test

namespace vk::test {
namespace {

// A campaign under LibreOffice: one office for all, one document at a time,
// each closed once analysed, whatever --jobs asks for.
TEST_F(LiveTransaction, ACampaignTakesItsDocumentsOneAtATime) {
  const std::vector<fs::path> files = {workbook("a.xlsx"), workbook("b.xlsx"), workbook("c.xlsx")};
  std::vector<std::string> before;
  for (const fs::path& f : files) before.push_back(bytesOf(f));
  std::vector<int> openAfterEach;
  const auto open = [&] {
    int count = 0;
    for (const fs::path& f : files) count += isOpen(office(), f.string()) ? 1 : 0;
    return count;
  };
  BatchOptions options;
  options.inputs = {dir.string()};
  options.workbook = dir.string();
  options.engine = "libreoffice";
  options.jobs = 3;
  const BatchEngines engines{[this] { return engine; },
                             [&] {
                               openAfterEach.push_back(open());
                               engine->closeDocumentsLoadedHere();
                             },
                             true};
  ASSERT_EQ(RunWorkbooks(options, engines, out, err), 0) << err.str();
  EXPECT_EQ(openAfterEach, (std::vector<int>{1, 1, 1}));  // its own, never another's
  EXPECT_EQ(open(), 0);
  for (std::size_t k = 0; k < files.size(); ++k) EXPECT_NE(bytesOf(files[k]), before[k]) << files[k];
  EXPECT_NE(out.str().find("Campaign of 3 workbooks"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace vk::test

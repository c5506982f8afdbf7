// A workbook that another program saves while a command works on it: the
// command stops with a fault instead of going on in the other version, and
// the other program's file is left as it saved it.

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "module1/Fault.h"
#include "tests/support/RecordingFeedback.h"
#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A screen whose progress, at one level of the initial analysis, is the
// moment another program saves its own version of the workbook.
struct SaveMeanwhile : test::RecordingFeedback {
  fs::path workbook, theirs;
  float atLevel = 3;
  bool analysing = false;

  void setCaption(Control c, const std::string& caption) override {
    analysing = caption == "Initial analysis...";
    RecordingFeedback::setCaption(c, caption);
  }
  void setProgressValue(float value) override {
    if (analysing && value == atLevel) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a new modification time
      fs::copy_file(theirs, workbook.string() + ".new");
      fs::rename(workbook.string() + ".new", workbook);
    }
    RecordingFeedback::setProgressValue(value);
  }
};

TEST(ChangedOnDisk, TheReadingStopsAndTheOtherProgramsFileStays) {
  const fs::path dir = fs::temp_directory_path() / ("vk-changed-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path workbook = dir / "sample.xlsx", theirs = dir / "theirs.xlsx";
  fs::copy_file(fs::path(VK_SOURCE_DIR) / "templates/sample.xlsx", workbook);
  fs::copy_file(fs::path(VK_SOURCE_DIR) / "templates/template.xlsx", theirs);

  Module1 m;
  m.Engine = std::make_shared<XlsxEngine>();
  SaveMeanwhile screen;
  screen.workbook = workbook;
  screen.theirs = theirs;
  OpenWorkbook(m, screen, dir.string(), "sample.xlsx");
  try {
    ReadDataSets(m, screen);
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_NE(std::string(fault.what()).find("changed by another program"), std::string::npos) << fault.what();
  }
  EXPECT_TRUE(bytesOf(workbook) == bytesOf(theirs)) << "the other program's file was overwritten";

  // The next command starts from the other program's version.
  auto numSets = [](const std::shared_ptr<Workbook>& book) {
    return book->readNumber(cells::kTestSheet, cells::kNumSetsRow, cells::kConditionColumn);
  };
  const double theirSets = numSets(XlsxEngine().bind(theirs.string()));
  EXPECT_NE(theirSets, double(m.NumSets));
  EXPECT_EQ(numSets(m.Engine->bind(workbook.string())), theirSets);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vk

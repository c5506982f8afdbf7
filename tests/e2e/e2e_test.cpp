// The whole analysis, Open to Run, on workbook files through the embedded
// engine, checked cell by cell in the saved file: every cell the commands
// write must hold exactly the value, and the type, that the same commands
// write into a workbook held in memory from the same test sheet. Then the
// analysis as one transaction (a fault writes nothing, --output makes its
// copy only at the end) and the file it writes (the one the kernel means,
// one program at a time, a file saved by another program
// while a command works on it).

#include <gtest/gtest.h>

#include <charconv>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "apps/batch/BatchTool.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "module1/Fault.h"
#include "tests/Digits.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/support/TestFolder.h"
#include "tests/support/WorkedExample.h"
#include "tests/support/XlsxCells.h"
#include "workbook/A1.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
using Cells = test::StoredCells;
using test::sameCells;

const fs::path kSource = VK_SOURCE_DIR;

// The areas the commands write, by sheet.
bool programArea(int sheet, int row, int column) {
  namespace c = cells;
  if (sheet == c::kAnalysisSheet)
    return parseA1(c::analysisTableRange()).contains(row, column) ||
           (row == c::kThresholdRow && column <= c::analysisColumn(6) && (column - 1) % 6 == 0);
  if (sheet != c::kResultsSheet) return false;
  if (parseA1(c::historyRange(c::kHistoryLastRow)).contains(row, column)) return true;
  if (parseA1(c::pointTableRange(c::kLastRow)).contains(row, column)) return true;
  if (parseA1(c::summaryRange()).contains(row, column) || parseA1(c::averageRange()).contains(row, column)) return true;
  for (int set = 1; set <= 6; ++set) {
    if (parseA1(c::resultBlockRange(set)).contains(row, column)) return true;
    if (row == c::kKeptCountRow && column == c::testColumn(set)) return true;
  }
  return false;
}

double parse(const std::string& text) {
  double v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  EXPECT_TRUE(ec == std::errc() && end == text.data() + text.size()) << text;
  return v;
}

::testing::AssertionResult sameCell(const Variant& expected, const test::StoredCell& stored) {
  if (!stored.type.empty() && stored.type != "n") return ::testing::AssertionFailure() << "type " << stored.type;
  const double value = parse(stored.value);
  if (value != expected.asDouble())
    return ::testing::AssertionFailure() << stored.value << " stored, " << describe(expected) << " written";
  switch (expected.type()) {
    case Variant::Type::Integer:
      if (stored.value.find_first_of(".eE") != std::string::npos)
        return ::testing::AssertionFailure() << stored.value << " is not stored as an integer";
      break;
    case Variant::Type::Single:
      if (double(float(value)) != value) return ::testing::AssertionFailure() << stored.value << " is not a Single";
      break;
    default: break;
  }
  return ::testing::AssertionSuccess();
}

struct Analysed {
  int status = -1;
  std::string out, err;
  fs::path file;
  std::shared_ptr<MemoryWorkbook> reference;
};

class EndToEnd : public ::testing::Test {
 protected:
  fs::path dir;

  void SetUp() override { dir = test::freshTestFolder("vk-e2e"); }
  void TearDown() override { fs::remove_all(dir); }

  // Analyses a copy of the workbook with the batch tool's arguments, and the
  // same test sheet in memory for reference.
  Analysed analyse(const fs::path& workbook, std::vector<std::string> extra = {}) {
    Analysed a;
    a.file = dir / workbook.filename();
    if (!fs::exists(a.file)) fs::copy_file(workbook, a.file);
    std::vector<std::string> args = extra;
    args.push_back(a.file.string());
    std::string error;
    auto options = ParseBatchArguments(args, error);
    EXPECT_TRUE(options) << error;

    auto memory = std::make_shared<MemoryEngine>();
    a.reference = memory->book(a.file.string());
    for (const auto& [at, cell] : test::readStoredCells(a.file.string(), cells::kTestSheet))
      if (cell.type.empty() || cell.type == "n")
        a.reference->write(1, at.first, at.second, Variant::dbl(parse(cell.value)));
    std::ostringstream ignored, ignoredErr;
    RunBatch(*options, memory, ignored, ignoredErr);

    std::ostringstream out, err;
    a.status = RunBatch(*options, std::make_shared<XlsxEngine>(), out, err);
    a.out = out.str();
    a.err = err.str();
    return a;
  }

  // Every program cell of sheets 2 and 3 in the file equals the reference,
  // and nothing else is left in the program's areas.
  void expectSameAsReference(const Analysed& a) {
    for (int sheet : {cells::kAnalysisSheet, cells::kResultsSheet}) {
      SCOPED_TRACE("sheet " + std::to_string(sheet));
      Cells stored = test::readStoredCells(a.file.string(), sheet);
      auto expected = a.reference->cells(sheet);
      size_t checked = 0;
      for (const auto& [at, value] : expected) {
        if (!programArea(sheet, at.first, at.second)) continue;
        auto it = stored.find(at);
        if (it == stored.end()) {
          ADD_FAILURE() << a1Upper(at.first, at.second) << " is empty, " << describe(value) << " expected";
          continue;
        }
        EXPECT_TRUE(sameCell(value, it->second)) << a1Upper(at.first, at.second);
        ++checked;
      }
      for (const auto& [at, cell] : stored)
        if (programArea(sheet, at.first, at.second) && !expected.count(at))
          ADD_FAILURE() << a1Upper(at.first, at.second) << " holds " << cell.value << ", expected empty";
      EXPECT_GT(checked, 0u);
    }
  }
  static Variant ref(const Analysed& a, int row, int column) { return a.reference->value(3, row, column); }
};

test::StoredCell at(const Cells& cells, int row, int column) {
  auto it = cells.find({row, column});
  return it == cells.end() ? test::StoredCell{} : it->second;
}
bool has(const Cells& cells, int row, int column) { return cells.count({row, column}) > 0; }

fs::path e2e(const char* name) { return kSource / "tests/data/e2e" / name; }

std::string bytes(const fs::path& file) {
  std::ostringstream out;
  out << std::ifstream(file, std::ios::binary).rdbuf();
  return out.str();
}

TEST_F(EndToEnd, EveryWrittenCellOfEachTestWorkbook) {
  for (const char* name :
       {"one-set.xlsx", "two-sets.xlsx", "three-sets.xlsx", "six-sets.xlsx", "airflow-empty.xlsx", "airflow-zero.xlsx",
        "first-above-30-percent.xlsx", "four-kept.xlsx", "not-converging.xlsx"}) {
    SCOPED_TRACE(name);
    Analysed a = analyse(e2e(name));
    ASSERT_EQ(a.status, 0) << a.err;
    expectSameAsReference(a);
  }
}

TEST_F(EndToEnd, SampleProbeOneAtTenPercentIsTheWorkedExample) {
  Analysed a = analyse(kSource / "templates/sample.xlsx", {"--thresholds", "10"});
  ASSERT_EQ(a.status, 0) << a.err;
  expectSameAsReference(a);
  Cells s3 = test::readStoredCells(a.file.string(), 3);
  for (int pass = 1; pass <= test::worked::kPassCount; ++pass) {
    const test::worked::Pass& row = test::worked::kPasses[pass - 1];
    EXPECT_DIGITS(parse(at(s3, 10 + pass, 10).value), std::to_string(pass));
    EXPECT_DIGITS(parse(at(s3, 10 + pass, 11).value), row.cinf);
    EXPECT_DIGITS(parse(at(s3, 10 + pass, 12).value), row.c0);
    EXPECT_DIGITS(parse(at(s3, 10 + pass, 13).value), row.kla);
    EXPECT_DIGITS(parse(at(s3, 10 + pass, 14).value), row.sumSq);
  }
  EXPECT_FALSE(has(s3, 15, 10));
  EXPECT_DIGITS(parse(at(s3, 29, 11).value), test::worked::kStdErr);
  EXPECT_DIGITS(parse(at(s3, 13, 7).value), test::worked::kStdErr);
  EXPECT_EQ(at(s3, 26, 12).value, "29.920000076293945");
  EXPECT_NE(a.out.find("Average"), std::string::npos);
}

TEST_F(EndToEnd, ThresholdsNonDefaultAndCleared) {
  Analysed a = analyse(e2e("three-sets.xlsx"), {"--thresholds", "12.5,"});
  ASSERT_EQ(a.status, 0) << a.err;
  expectSameAsReference(a);
  Cells s2 = test::readStoredCells(a.file.string(), 2);
  EXPECT_EQ(parse(at(s2, 45, 1).value), 12.5);
  EXPECT_FALSE(has(s2, 45, 7));          // cleared: counts as 0 %
  EXPECT_EQ(at(s2, 45, 13).value, "1");  // beyond the list: the default
  Cells s3 = test::readStoredCells(a.file.string(), 3);
  EXPECT_EQ(parse(at(s3, 35, 11).value), 12.5);
  EXPECT_EQ(at(s3, 35, 18).value, "0");
  EXPECT_EQ(at(s3, 35, 25).value, "1");
}

TEST_F(EndToEnd, NoAirFlowAndNoConvergenceLeaveTheirCellsEmpty) {
  for (const char* name : {"airflow-empty.xlsx", "airflow-zero.xlsx"}) {
    Analysed a = analyse(e2e(name));
    ASSERT_EQ(a.status, 0) << a.err;
    Cells s3 = test::readStoredCells(a.file.string(), 3);
    EXPECT_FALSE(has(s3, 13, 4)) << name;   // D13
    EXPECT_FALSE(has(s3, 19, 4)) << name;   // D19
    EXPECT_FALSE(has(s3, 31, 12)) << name;  // L31
  }
  Analysed a = analyse(e2e("not-converging.xlsx"));
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_NE(a.err.find("did not converge in 11 passes"), std::string::npos) << a.err;
  Cells s3 = test::readStoredCells(a.file.string(), 3);
  bool anyEmptyError = false;
  for (int set = 1; set <= 6; ++set)
    if (has(s3, 12 + set, 1) && !has(s3, 12 + set, 7)) {
      anyEmptyError = true;
      EXPECT_EQ(at(s3, 21, cells::resultColumn(set)).value, "11");
    }
  EXPECT_TRUE(anyEmptyError);
}

TEST_F(EndToEnd, AnalysingTwiceGivesIdenticalCells) {
  Analysed first = analyse(e2e("three-sets.xlsx"), {"--thresholds", "5,30"});
  ASSERT_EQ(first.status, 0) << first.err;
  const Cells s2 = test::readStoredCells(first.file.string(), 2), s3 = test::readStoredCells(first.file.string(), 3);
  Analysed second = analyse(e2e("three-sets.xlsx"), {"--thresholds", "5,30"});  // the same file again
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(sameCells(s2, test::readStoredCells(second.file.string(), 2)));
  EXPECT_TRUE(sameCells(s3, test::readStoredCells(second.file.string(), 3)));
}

// One analysis is one transaction.

// A workbook that faults part-way (a typo in C9, an error value among the
// readings, a missing sheet) keeps the results of an earlier analysis, byte
// for byte: nothing of the Open's clearing or the Reading's rows is written.
TEST_F(EndToEnd, AFaultLeavesTheWorkbookByteForByteAsItWas) {
  for (const char* name : {"text-condition.xlsx", "error-reading.xlsx", "two-sheets.xlsx"}) {
    SCOPED_TRACE(name);
    const fs::path file = dir / name;
    fs::copy_file(e2e(name), file);
    if (std::string(name) != "two-sheets.xlsx") {
      XlsxEngine engine;  // an earlier analysis's results
      auto book = engine.bind(file.string());
      book->write(cells::kAnalysisSheet, 46, 1, Variant::single(2.5f));
      book->write(cells::kResultsSheet, 45, 10, Variant::dbl(0.25));
      book->commit();
    }
    const std::string before = bytes(file);
    std::ostringstream out, err;
    BatchOptions options;
    options.workbook = file.string();
    EXPECT_EQ(RunBatch(options, std::make_shared<XlsxEngine>(), out, err), 1);
    EXPECT_TRUE(bytes(file) == before) << "the workbook changed";
    EXPECT_EQ(out.str(), "");
    const std::string text = err.str();
    EXPECT_EQ(text.substr(text.find('\n')), "\nNothing was written.\n") << text;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a lock or temporary file";
    fs::remove(file);
  }
}

// --output writes the analysed workbook to the copy at the end, and only
// then; the workbook itself is only read.
TEST_F(EndToEnd, OutputMakesTheCopyOnlyWhenTheAnalysisSucceeded) {
  const fs::path source = dir / "source.xlsx", copy = dir / "copy.xlsx";
  fs::copy_file(e2e("three-sets.xlsx"), source);
  const std::string original = bytes(source);
  auto run = [&](std::vector<std::string> args, std::string* errText = nullptr) {
    std::string error;
    auto options = ParseBatchArguments(args, error);
    EXPECT_TRUE(options) << error;
    std::ostringstream out, err;
    const int status = RunBatch(*options, std::make_shared<XlsxEngine>(), out, err);
    if (errText) *errText = err.str();
    return status;
  };
  Analysed inPlace = analyse(e2e("three-sets.xlsx"), {"--thresholds", "7"});
  ASSERT_EQ(run({"--thresholds", "7", "--output", copy.string(), source.string()}), 0);
  EXPECT_TRUE(bytes(source) == original);
  for (int sheet : {2, 3})
    EXPECT_TRUE(
        sameCells(test::readStoredCells(copy.string(), sheet), test::readStoredCells(inPlace.file.string(), sheet)));

  // An existing copy stays unless --force is given.
  const std::string analysed = bytes(copy);
  std::string err;
  EXPECT_EQ(run({"--thresholds", "9", "--output", copy.string(), source.string()}, &err), 1);
  EXPECT_NE(err.find("exists already; give --force"), std::string::npos) << err;
  EXPECT_TRUE(bytes(copy) == analysed);
  EXPECT_EQ(run({"--thresholds", "9", "--force", "--output", copy.string(), source.string()}), 0);
  EXPECT_EQ(test::readStoredCells(copy.string(), 3).at({35, 11}).value, "9");

  // A fault makes no copy.
  fs::copy_file(e2e("text-condition.xlsx"), dir / "text-condition.xlsx");
  EXPECT_EQ(run({"--output", (dir / "none.xlsx").string(), (dir / "text-condition.xlsx").string()}), 1);
  EXPECT_FALSE(fs::exists(dir / "none.xlsx"));
  EXPECT_TRUE(bytes(source) == original);
}

// The file is the one the user means, and one program at a time writes it.

// dir/link/../book.xlsx is the book beside the folder the link points to, as
// the kernel resolves it, never the lexical dir/book.xlsx.
TEST_F(EndToEnd, APathIsTheFileTheKernelMeans) {
  fs::create_directories(dir / "dir");
  fs::create_directories(dir / "other/sub");
  fs::copy_file(e2e("one-set.xlsx"), dir / "dir/book.xlsx");
  fs::copy_file(e2e("three-sets.xlsx"), dir / "other/book.xlsx");
  fs::create_directory_symlink("../other/sub", dir / "dir/link");
  const std::string lexical = bytes(dir / "dir/book.xlsx");
  std::ostringstream out, err;
  BatchOptions options;
  options.workbook = (dir / "dir/link/../book.xlsx").string();
  ASSERT_EQ(RunBatch(options, std::make_shared<XlsxEngine>(), out, err), 0) << err.str();
  EXPECT_TRUE(bytes(dir / "dir/book.xlsx") == lexical) << "the lexical path's workbook was written";
  EXPECT_EQ(test::readStoredCells((dir / "other/book.xlsx").string(), 3).count({15, 1}), 1u);  // three sets ran

  options.workbook = (dir / "dir/link").string();
  EXPECT_EQ(RunBatch(options, std::make_shared<XlsxEngine>(), out, err), 1);
  EXPECT_NE(err.str().find(options.workbook + " is a folder"), std::string::npos) << err.str();
}

// A workbook open in LibreOffice (its lock file beside it) is refused before
// anything is read, and the lock file stays as it was.
TEST_F(EndToEnd, AWorkbookOpenInAnotherProgramIsRefusedAndLeftAlone) {
  const fs::path file = dir / "three-sets.xlsx", lock = dir / ".~lock.three-sets.xlsx#";
  fs::copy_file(e2e("three-sets.xlsx"), file);
  const std::string entry =
      "Someone Else,someone,otherhost,01.01.2024 10:00,file:///home/someone/.config/libreoffice/4;";
  std::ofstream(lock, std::ios::binary) << entry;
  const std::string before = bytes(file);
  std::ostringstream out, err;
  BatchOptions options;
  options.workbook = file.string();
  EXPECT_EQ(RunBatch(options, std::make_shared<XlsxEngine>(), out, err), 1);
  EXPECT_NE(err.str().find("open in another program: Someone Else holds its lock file"), std::string::npos)
      << err.str();
  EXPECT_TRUE(bytes(file) == before);
  EXPECT_EQ(bytes(lock), entry);
}

// A screen whose progress, at level 3 of the initial analysis, is the moment
// another program saves its own version of the workbook.
struct SavedMeanwhile : test::RecordingFeedback {
  fs::path workbook, theirs;
  bool analysing = false;

  void setCaption(Control c, const std::string& caption) override {
    analysing = caption == "Initial analysis...";
    RecordingFeedback::setCaption(c, caption);
  }
  void setProgressValue(float value) override {
    if (analysing && value == 3) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a new modification time
      fs::copy_file(theirs, workbook.string() + ".new");
      fs::rename(workbook.string() + ".new", workbook);
    }
    RecordingFeedback::setProgressValue(value);
  }
};

TEST_F(EndToEnd, AWorkbookSavedByAnotherProgramDuringTheReadingStopsIt) {
  SavedMeanwhile screen;
  screen.workbook = dir / "sample.xlsx";
  screen.theirs = kSource / "templates/template.xlsx";
  fs::copy_file(kSource / "templates/sample.xlsx", screen.workbook);
  Module1 m;
  m.Engine = std::make_shared<XlsxEngine>();
  OpenWorkbook(m, screen, dir.string(), "sample.xlsx");
  try {
    ReadDataSets(m, screen);
    ADD_FAILURE() << "no fault";
  } catch (const Fault& fault) {
    EXPECT_NE(std::string(fault.what()).find("changed by another program"), std::string::npos) << fault.what();
  }
  EXPECT_TRUE(bytes(screen.workbook) == bytes(screen.theirs)) << "the other program's file was overwritten";
}

}  // namespace
}  // namespace vk

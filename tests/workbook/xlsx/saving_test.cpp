// Binding and saving files: the round trip of an Open command and a few
// hundred writes, entries copied as stored, the refusals before anything is
// written, work discarded and copies made whole, the file checked right
// before its rename, one writer at a time, and saves that fail or are killed
// at every step.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <pugixml.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "module1/Fault.h"
#include "tests/support/FaultOf.h"
#include "tests/workbook/xlsx/XlsxFiles.h"
#include "workbook/CellMap.h"
#include "workbook/file/LockFile.h"
#include "workbook/xlsx/XlsxEngine.h"
#include "workbook/xlsx/package/SaveFile.h"
#include "workbook/xlsx/sheet/CellRef.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;
using test::faultOf;
namespace fs = std::filesystem;
using Key = std::tuple<int, int, int>;

class XlsxSaving : public ::testing::Test {
 protected:
  void TearDown() override { setSaveHook(nullptr); }

  std::string makeBook(const std::string& name, const Book& book = templateLikeBook().book) {
    std::string path = dir.file(name);
    writeFile(path, zipBytes(book.build()));
    return path;
  }
  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A process killed while it held the workbook leaves its lock file: the
  // next binding names it stale, and deleting it, as the message says, clears it.
  void clearStaleLock(const std::string& path) {
    const std::string lock = dir.file(".~lock." + fs::path(path).filename().string() + "#");
    if (!fs::exists(lock)) return;
    XlsxEngine engine;
    const std::string text = faultOf([&] { engine.bind(path); });
    EXPECT_NE(text.find("stale lock file"), std::string::npos) << text;
    fs::remove(lock);
  }

  TempDir dir;
};

// The cell's value as the file holds it: its <v> text, empty when the cell
// has none, and whether it carries a type attribute.
struct CellXml {
  bool exists = false;
  std::string value;
  bool typed = false;
};
std::map<std::pair<int, int>, CellXml> cellsOf(const std::string& sheetXmlText) {
  std::map<std::pair<int, int>, CellXml> cells;
  pugi::xml_document doc;
  EXPECT_TRUE(doc.load_string(sheetXmlText.c_str()));
  for (pugi::xml_node row : doc.child("worksheet").child("sheetData").children("row"))
    for (pugi::xml_node c : row.children("c")) {
      int r = 0, col = 0;
      parseCellRef(c.attribute("r").value(), r, col);
      cells[{r, col}] = {true, c.child_value("v"), bool(c.attribute("t"))};
    }
  return cells;
}

TEST_F(XlsxSaving, RoundTripOfAnOpenCommandAndHundredsOfWrites) {
  TemplateBook t = templateLikeBook();
  std::string path = makeBook("results.xlsx", t.book);
  const std::string original = readFile(path);
  std::map<Key, Variant> expected;
  for (const auto& [key, value] : t.numbers) expected[key] = Variant::dbl(value);

  XlsxEngine engine;
  auto book = engine.bind(path);
  std::mt19937 random(11);
  auto writeSome = [&](int count) {
    for (int i = 0; i < count; ++i) {
      int sheet = 2 + int(random() % 2);
      int row = 1 + int(random() % 800);
      int column = 1 + int(random() % 60);
      Variant value;
      switch (random() % 4) {
        case 0: value = Integer::checked(int(random() % 60000) - 30000); break;
        case 1: value = Variant::single(float(random()) / 1e5f); break;
        case 2: value = Variant::dbl(double(random()) / 7e3); break;
        case 3: break;  // Empty
      }
      book->write(sheet, row, column, value);
      if (value.isEmpty())
        expected.erase({sheet, row, column});
      else
        expected[{sheet, row, column}] = value;
    }
  };
  auto clear = [&](int sheet, const std::string& range) {
    book->clearContents(sheet, range);
    CellRange r = parseA1(range);
    for (auto it = expected.begin(); it != expected.end();) {
      auto [s, row, column] = it->first;
      it = s == sheet && r.contains(row, column) ? expected.erase(it) : std::next(it);
    }
  };
  writeSome(300);
  // What the Open command clears and resets.
  namespace c = cells;
  clear(c::kAnalysisSheet, c::analysisTableRange());
  clear(c::kResultsSheet, c::pointTableRange(c::kLastRow));
  clear(c::kResultsSheet, c::historyRange(c::kHistoryLastRow));
  for (int set = 1; set <= 6; ++set) clear(c::kResultsSheet, c::resultBlockRange(set));
  clear(c::kResultsSheet, c::summaryRange());
  clear(c::kResultsSheet, c::averageRange());
  for (int set = 1; set <= 6; ++set) clear(c::kResultsSheet, c::keptCountCell(set));
  for (int set = 1; set <= 6; ++set) {
    book->write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set), Integer(0));
    expected[{c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set)}] = Integer(0);
  }
  writeSome(300);
  book->show(1);
  book->select(1, "a1");
  book->commit();

  const std::string saved = readFile(path);
  EXPECT_FALSE(hasZip64Records(saved));
  auto before = readZip(original);
  auto after = readZip(saved);
  // Only the written sheets, the workbook part (recalculation on opening) and
  // the parts that listed the calculation chain changed; everything else is
  // the same entry, compressed bytes and all.
  std::set<std::string> changed;
  for (const Entry& e : before) {
    const Entry* now = findEntry(after, e.name);
    if (!now) {
      changed.insert(e.name + " (removed)");
      continue;
    }
    if (now->raw != e.raw || now->crc != e.crc || now->method != e.method || now->mtime != e.mtime)
      changed.insert(e.name);
  }
  std::set<std::string> expectedChanges = {
      "xl/worksheets/sheet2.xml", "xl/worksheets/sheet3.xml",   "xl/workbook.xml",         "xl/calcChain.xml (removed)",
      "[Content_Types].xml",      "xl/_rels/workbook.xml.rels", "xl/worksheets/sheet1.xml"};
  EXPECT_EQ(changed, expectedChanges);
  ASSERT_EQ(after.size(), before.size() - 1);
  for (std::size_t i = 0, j = 0; i < before.size(); ++i) {
    if (before[i].name == "xl/calcChain.xml") continue;
    EXPECT_EQ(after[j++].name, before[i].name) << "entries keep their order";
  }

  // Read back by a fresh engine: every value as written, every cleared cell empty.
  XlsxEngine fresh;
  auto again = fresh.bind(path);
  for (int sheet = 2; sheet <= 3; ++sheet) {
    auto xml = cellsOf(findEntry(after, "xl/worksheets/sheet" + std::to_string(sheet) + ".xml")->data);
    for (const auto& [at, cell] : xml) {
      if (!cell.exists || cell.value.empty()) continue;
      if (expected.count({sheet, at.first, at.second}) == 0 && at.first > 1) {
        ADD_FAILURE() << "sheet " << sheet << " " << cellRef(at.first, at.second) << " holds " << cell.value;
      }
    }
  }
  for (const auto& [key, value] : expected) {
    auto [sheet, row, column] = key;
    if (sheet == 1) continue;
    SCOPED_TRACE("sheet " + std::to_string(sheet) + " " + cellRef(row, column));
    EXPECT_EQ(again->readNumber(sheet, row, column), value.asDouble());
  }
  // The text of each written value says its type: Integer, the exact double of a Single, a Double.
  auto sheet3 = cellsOf(findEntry(after, "xl/worksheets/sheet3.xml")->data);
  auto sheet2 = cellsOf(findEntry(after, "xl/worksheets/sheet2.xml")->data);
  int checkedTexts = 0;
  for (const auto& [key, value] : expected) {
    auto [sheet, row, column] = key;
    if (sheet == 1 || value.type() == Variant::Type::Double) continue;
    const CellXml& cell = (sheet == 2 ? sheet2 : sheet3)[{row, column}];
    std::string text;
    appendNumber(text, value.asDouble());
    EXPECT_EQ(cell.value, text) << cellRef(row, column);
    EXPECT_FALSE(cell.typed);
    ++checkedTexts;
  }
  EXPECT_GT(checkedTexts, 150);
  // Formulas lost their cached results; the headings stayed.
  auto sheet3Xml = findEntry(after, "xl/worksheets/sheet3.xml")->data;
  EXPECT_NE(sheet3Xml.find("<c r=\"A1\" t=\"s\"><v>2</v></c>"), std::string::npos);
  EXPECT_NE(sheet3Xml.find("<c r=\"C5\"><f>AVERAGE(J45:J300)</f></c>"), std::string::npos);
}

TEST_F(XlsxSaving, NothingChangedLeavesTheFileAlone) {
  std::string path = makeBook("results.xlsx");
  auto stamp = stampOf(path);
  XlsxEngine engine;
  auto book = engine.bind(path);
  book->readNumber(1, 7, 3);
  book->clearContents(2, "ba100:bz200");
  book->show(1);
  book->commit();
  EXPECT_EQ(stampOf(path), stamp);
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
}

TEST_F(XlsxSaving, OnePathOneWorkbookReadAgainWhenChangedOnDisk) {
  TemplateBook t = templateLikeBook();
  std::string path = makeBook("results.xlsx", t.book);
  fs::create_symlink(path, dir.file("link.xlsx"));
  XlsxEngine engine;
  auto book = engine.bind(path);
  EXPECT_EQ(book->path(), path);
  EXPECT_EQ(engine.bind(path), book);
  EXPECT_EQ(engine.bind(dir.path() + "/./results.xlsx"), book);
  EXPECT_EQ(engine.bind(dir.file("link.xlsx")), book);

  // Unsaved writes stay while the file is as it was read.
  book->write(2, 45, 1, Integer(7));
  EXPECT_EQ(engine.bind(path)->readNumber(2, 45, 1), 7);

  // Another program saves the file in the middle of a command: binding again
  // is a fault, never a silent read that would drop the command's writes.
  // The command's work is given up; the other program's file stays.
  auto otherProgramSaves = [&](int a45) {
    TemplateBook edited = templateLikeBook();
    edited.book.sheets[1] = sheetXml("<row r=\"45\"><c r=\"A45\"><v>" + std::to_string(a45) + "</v></c></row>");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeFile(dir.file("other.xlsx"), zipBytes(edited.book.build()));
    fs::rename(dir.file("other.xlsx"), path);
    return readFile(path);
  };
  std::string theirs = otherProgramSaves(3);
  EXPECT_NE(faultOf([&] { engine.bind(path); }).find("changed by another program"), std::string::npos);
  book->commit();
  EXPECT_TRUE(readFile(path) == theirs) << "the other program's file was overwritten";

  // The next command starts from the file as it is now.
  EXPECT_EQ(engine.bind(path), book);
  EXPECT_EQ(book->readNumber(2, 45, 1), 3);

  // Reading is enough to be part-way through a command: the cells read and
  // the cells the command would write must come from one version.
  theirs = otherProgramSaves(5);
  EXPECT_NE(faultOf([&] { engine.bind(path); }).find("changed by another program"), std::string::npos);
  book->commit();
  EXPECT_EQ(engine.bind(path)->readNumber(2, 45, 1), 5);

  // Unsaved work left by a save that was refused is not dropped silently
  // either, even at the start of a command.
  book->write(2, 45, 1, Integer(6));
  writeFile(dir.file(".~lock.results.xlsx#"), "someone,host,user;");
  EXPECT_NE(faultOf([&] { book->commit(); }).find("open in another program"), std::string::npos);
  fs::remove(dir.file(".~lock.results.xlsx#"));
  theirs = otherProgramSaves(8);
  EXPECT_NE(faultOf([&] { engine.bind(path); }).find("changed by another program"), std::string::npos);
  book->commit();
  EXPECT_TRUE(readFile(path) == theirs) << "the other program's file was overwritten";
  EXPECT_EQ(engine.bind(path)->readNumber(2, 45, 1), 8);

  // Saving through a link replaces the file it points to and keeps the link.
  book->write(2, 45, 1, Integer(4));
  book->commit();
  EXPECT_TRUE(fs::is_symlink(dir.file("link.xlsx")));
  XlsxEngine fresh;
  EXPECT_EQ(fresh.bind(dir.file("link.xlsx"))->readNumber(2, 45, 1), 4);
}

TEST_F(XlsxSaving, RefusesToSaveOverAnotherProgramsWork) {
  std::string path = makeBook("results.xlsx");
  XlsxEngine engine;
  auto book = engine.bind(path);
  book->write(2, 45, 1, Integer(1));
  const std::string original = readFile(path);
  for (const std::string lock : {".~lock.results.xlsx#", "~$results.xlsx", "~$sults.xlsx"}) {
    writeFile(dir.file(lock), "someone,host,user;");
    std::string text = faultOf([&] { book->commit(); });
    EXPECT_NE(text.find("open in another program"), std::string::npos) << text;
    EXPECT_NE(text.find(lock), std::string::npos) << text;
    EXPECT_TRUE(readFile(path) == original) << "the file changed";
    fs::remove(dir.file(lock));
  }

  // The file changed on disk after it was read.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::string edited = zipBytes(templateLikeBook(100).book.build());
  writeFile(path, edited);
  std::string text = faultOf([&] { book->commit(); });
  EXPECT_NE(text.find("changed by another program"), std::string::npos) << text;
  EXPECT_TRUE(readFile(path) == edited) << "the file changed";

  // Made read-only after it was read.
  book = engine.bind(path);
  book->write(2, 45, 1, Integer(1));
  ::chmod(path.c_str(), 0444);
  text = faultOf([&] { book->commit(); });
  EXPECT_NE(text.find("read-only"), std::string::npos) << text;
  EXPECT_TRUE(readFile(path) == edited) << "the file changed";

  EXPECT_NE(faultOf([&] { book->runMacro("Chart"); }).find("no macro \"Chart\""), std::string::npos);
}

TEST_F(XlsxSaving, KeepsPermissionsAndForcesNoZip64) {
  std::string path = makeBook("results.xlsx");
  ::chmod(path.c_str(), 0640);
  XlsxEngine engine;
  auto book = engine.bind(path);
  for (int row = 45; row < 2045; ++row) book->write(3, row, 10, Variant::single(float(row) / 3));
  book->commit();
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_FALSE(hasZip64Records(readFile(path)));
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
}

TEST_F(XlsxSaving, AFailureAtAnyStepLeavesTheFileAsItWas) {
  for (SaveStage stage : {SaveStage::TemporaryCreated, SaveStage::HalfWritten, SaveStage::Written, SaveStage::Synced}) {
    SCOPED_TRACE(int(stage));
    std::string path = makeBook("results.xlsx");
    const std::string original = readFile(path);
    XlsxEngine engine;
    auto book = engine.bind(path);
    book->write(3, 45, 10, Integer(42));
    setSaveHook([stage](SaveStage s) {
      if (s == stage) throw Fault(FaultKind::Workbook, "simulated failure");
    });
    EXPECT_THROW(book->commit(), Fault);
    EXPECT_TRUE(readFile(path) == original) << "the file changed";
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
    // The work is still there and saved by the next commit.
    setSaveHook(nullptr);
    book->commit();
    XlsxEngine fresh;
    EXPECT_EQ(fresh.bind(path)->readNumber(3, 45, 10), 42);
  }
  // Past the rename the new file is whole.
  std::string path = makeBook("results.xlsx");
  XlsxEngine engine;
  auto book = engine.bind(path);
  book->write(3, 45, 10, Integer(43));
  setSaveHook([](SaveStage s) {
    if (s == SaveStage::Renamed) throw Fault(FaultKind::Workbook, "simulated failure");
  });
  EXPECT_THROW(book->commit(), Fault);
  setSaveHook(nullptr);
  XlsxEngine fresh;
  EXPECT_EQ(fresh.bind(path)->readNumber(3, 45, 10), 43);
}

// One analysis is one transaction: work given up leaves the file as it was,
// and a copy is made whole at the commit, never before.

TEST_F(XlsxSaving, DiscardedWorkLeavesTheFileAndItsLocks) {
  std::string path = makeBook("results.xlsx");
  const std::string original = readFile(path);
  XlsxEngine engine;
  auto book = engine.bind(path);
  const double before = book->readNumber(2, 45, 1);
  ASSERT_NE(before, 0.0);
  book->clearContents(2, "a1:z100");
  book->write(3, 45, 10, Integer(7));
  book->discard();
  EXPECT_TRUE(readFile(path) == original);
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
  // The next command starts from the file as it was read.
  EXPECT_EQ(engine.bind(path)->readNumber(2, 45, 1), before);
  book->commit();
  EXPECT_TRUE(readFile(path) == original) << "discarded work was saved later";
}

// A run killed between making its lock file and writing it leaves an empty
// one: that is stale too, and said so, not taken for another program.
TEST_F(XlsxSaving, AnEmptyLockFileIsStale) {
  std::string path = makeBook("results.xlsx");
  const std::string original = readFile(path);
  std::ofstream(dir.file(".~lock.results.xlsx#")).close();
  XlsxEngine engine;
  const std::string text = faultOf([&] { engine.bind(path)->write(3, 45, 10, Integer(7)); });
  EXPECT_NE(text.find("has a stale lock file"), std::string::npos) << text;
  EXPECT_NE(text.find("is empty"), std::string::npos) << text;
  EXPECT_TRUE(readFile(path) == original);
}

TEST_F(XlsxSaving, ACopyIsWrittenWholeAtTheCommitAndOnlyWhereNothingAppeared) {
  std::string path = makeBook("results.xlsx");
  ::chmod(path.c_str(), 0640);
  const std::string original = readFile(path), copy = dir.file("copy.xlsx");
  XlsxEngine engine;
  auto book = engine.bindCopy(path, copy);
  EXPECT_EQ(engine.bind(copy), book);
  book->write(3, 45, 10, Integer(42));
  EXPECT_FALSE(fs::exists(copy));
  book->commit();
  EXPECT_TRUE(readFile(path) == original);
  struct stat st;
  ASSERT_EQ(::stat(copy.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);  // the workbook's permissions
  EXPECT_EQ(XlsxEngine().bind(copy)->readNumber(3, 45, 10), 42);

  // Discarded: no copy. A file that appears at the copy's place meanwhile is
  // another program's, and stays.
  const std::string other = dir.file("other.xlsx");
  engine.bindCopy(path, other)->discard();
  EXPECT_FALSE(fs::exists(other));
  book = engine.bindCopy(path, other);
  book->write(3, 45, 10, Integer(43));
  writeFile(other, "theirs");
  EXPECT_NE(faultOf([&] { book->commit(); }).find("changed by another program"), std::string::npos);
  EXPECT_EQ(readFile(other), "theirs");
}

// The file is still the one read: checked right before the rename, after
// the new version was written and flushed.

TEST_F(XlsxSaving, AFileReplacedRightBeforeTheRenameIsKept) {
  std::string path = makeBook("results.xlsx");
  XlsxEngine engine;
  auto book = engine.bind(path);
  book->write(3, 45, 10, Integer(1));
  const std::string theirs = zipBytes(templateLikeBook(50).book.build());
  setSaveHook([&](SaveStage s) {
    if (s != SaveStage::Synced) return;
    writeFile(dir.file("theirs.tmp"), theirs);
    fs::rename(dir.file("theirs.tmp"), path);
  });
  EXPECT_NE(faultOf([&] { book->commit(); }).find("changed by another program"), std::string::npos);
  EXPECT_TRUE(readFile(path) == theirs) << "the other program's file was overwritten";
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
}

// One program at a time: from the start of a command to its end this
// process holds the file (a lock on it and LibreOffice's lock file beside
// it); between commands it holds nothing, so the user may edit the file.

TEST_F(XlsxSaving, OneWriterAtATimeAndOnlyWhileACommandRuns) {
  std::string path = makeBook("results.xlsx");
  const std::string lock = dir.file(".~lock.results.xlsx#");
  XlsxEngine first, second;
  auto book = first.bind(path);
  ASSERT_TRUE(fs::exists(lock));
  auto entry = LockEntry::parse(readFile(lock));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->user, std::string(program_invocation_short_name) + " (process " + std::to_string(::getpid()) + ")");
  const std::string refused = faultOf([&] { second.bind(path); });
  EXPECT_NE(refused.find("is being written by " + entry->user), std::string::npos) << refused;

  book->write(3, 45, 10, Integer(5));
  book->commit();  // saved with its own lock file beside it: not another program's
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
  auto other = second.bind(path);
  EXPECT_EQ(other->readNumber(3, 45, 10), 5);
  EXPECT_NE(faultOf([&] { first.bind(path); }).find("is being written by"), std::string::npos);
  other->commit();
  EXPECT_EQ(first.bind(path), book);
  book->commit();
}

// A name of 255 bytes, the most there may be: too long for a lock file
// (".~lock." and "#" added), held by the lock on the file alone, and saved
// under a short temporary name.
TEST_F(XlsxSaving, TheLongestNameIsHeldByTheLockOnTheFileAloneAndSaved) {
  const std::string name = std::string(250, 'r') + ".xlsx";
  std::string path = makeBook(name);
  XlsxEngine first, second;
  auto book = first.bind(path);
  EXPECT_NE(faultOf([&] { second.bind(path); }).find("is being written by another program"), std::string::npos);
  book->write(3, 45, 10, Integer(6));
  book->commit();
  EXPECT_EQ(filesInDir(), std::vector<std::string>{name});
  EXPECT_EQ(second.bind(path)->readNumber(3, 45, 10), 6);
}

// Runs `child` in a forked process and returns how it ended.
int inChild(const std::function<void()>& child) {
  pid_t pid = ::fork();
  if (pid == 0) {
    try {
      child();
    } catch (...) {
      ::_exit(3);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

TEST_F(XlsxSaving, AProcessKilledAtAnyStepOfASaveLeavesTheFileAsItWas) {
  for (SaveStage stage : {SaveStage::TemporaryCreated, SaveStage::HalfWritten, SaveStage::Written, SaveStage::Synced}) {
    SCOPED_TRACE(int(stage));
    std::string path = makeBook("results.xlsx");
    const std::string original = readFile(path);
    int status = inChild([&] {
      XlsxEngine engine;
      auto book = engine.bind(path);
      for (int row = 45; row < 1045; ++row) book->write(3, row, 11, Integer(1));
      setSaveHook([stage](SaveStage s) {
        if (s == stage) ::raise(SIGKILL);
      });
      book->commit();
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_TRUE(readFile(path) == original) << "the file changed";
    // The dead process's lock file remains, and its temporary file may; the
    // next save of the workbook removes the temporary file.
    clearStaleLock(path);
    for (const std::string& name : filesInDir()) {
      if (name != "results.xlsx") {
        EXPECT_EQ(name.rfind(".results.xlsx.saving-", 0), 0u) << name;
      }
    }
    XlsxEngine engine;
    auto book = engine.bind(path);
    book->write(3, 45, 11, Integer(2));
    book->commit();
    EXPECT_EQ(filesInDir(), std::vector<std::string>{"results.xlsx"});
    fs::remove(path);
  }
}

TEST_F(XlsxSaving, AProcessKilledAtRandomLeavesOneWholeVersion) {
  TemplateBook t = templateLikeBook();
  const auto& original = t.numbers;
  std::string path = makeBook("results.xlsx", t.book);
  std::mt19937 random(5);
  int saves = 0;
  for (int round = 0; round < 8; ++round) {
    pid_t pid = ::fork();
    if (pid == 0) {
      // Saves version after version: every cell of a version holds its number.
      XlsxEngine engine;
      auto book = engine.bind(path);
      for (int version = 1;; ++version) {
        for (int row = 45; row < 4045; ++row) book->write(3, row, 12, Integer::checked(version));
        book->commit();
      }
    }
    // Once a save has gone through, kill it at some moment of the next ones.
    auto stamp = stampOf(path);
    for (int wait = 0; wait < 12000 && stampOf(path) == stamp; ++wait)  // up to a minute on a busy machine
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 120));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    clearStaleLock(path);
    XlsxEngine engine;
    auto book = engine.bind(path);
    double version = book->readNumber(3, 45, 12);
    if (version == original.at({3, 45, 12})) {  // killed before its first save went through
      for (int row = 46; row < 300; row += 7) ASSERT_EQ(book->readNumber(3, row, 12), original.at({3, row, 12}));
      continue;
    }
    ++saves;
    for (int row = 46; row < 4045; row += 97) ASSERT_EQ(book->readNumber(3, row, 12), version) << "round " << round;
  }
  EXPECT_GT(saves, 0) << "no save went through before a kill; the test proved nothing";
}

}  // namespace
}  // namespace vk::xlsx

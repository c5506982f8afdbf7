// The wizard's commands on a live LibreOffice when the document goes away:
// closed by the user, the office killed, or the connection to it lost,
// before and during each command. The Open and the Reading may load the
// workbook anew; otherwise it is a fault in plain words, never an abort, and
// never a run on a copy loaded again. And whatever call meets the loss,
// nothing LibreOffice throws leaves the engine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "module1/Fault.h"
#include "tests/support/RecordingFeedback.h"
#include "tests/uno/TestDocuments.h"
#include "tests/uno/TestOffice.h"
#include "workbook/CellMap.h"
#include "workbook/uno/LibreOfficeEngine.h"

namespace vk::test {
namespace {

namespace fs = std::filesystem;
namespace c = cells;

enum class Loss { Closed, Killed, Disconnected };
enum class Step { Open, Reading, Run };

const char* nameOf(Loss loss) {
  switch (loss) {
    case Loss::Closed: return "closed";
    case Loss::Killed: return "killed";
    case Loss::Disconnected: return "disconnected";
  }
  return "";
}

const char* nameOf(Step step) {
  switch (step) {
    case Step::Open: return "Open";
    case Step::Reading: return "Reading";
    case Step::Run: return "Run";
  }
  return "";
}

std::string bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What LibreOffice calls things stays out of what the user reads.
void expectPlainWords(const std::string& text) {
  for (const char* term : {".cxx", "URP", "bridge", "com.sun.star", "Exception"})
    EXPECT_EQ(text.find(term), std::string::npos) << term << " in: " << text;
}

// A screen that does `act` once, when the command shows the line `at`
// (after the line `after`, when one is given): in the middle of its work.
class Interrupting : public RecordingFeedback {
 public:
  std::string after, at;
  std::function<void()> act;

  void setCaption(Control control, const std::string& caption) override {
    RecordingFeedback::setCaption(control, caption);
    check();
  }
  void setEnabled(Control control, bool enabled) override {
    RecordingFeedback::setEnabled(control, enabled);
    check();
  }
  void setProgressValue(float value) override {
    RecordingFeedback::setProgressValue(value);
    check();
  }

 private:
  void check() {
    if (!act) return;
    if (!after.empty() && !afterSeen_) {
      afterSeen_ = lines.back() == after;
      return;
    }
    if (lines.back() != at) return;
    auto once = std::move(act);
    act = nullptr;
    once();
  }
  bool afterSeen_ = false;
};

// Where each command is in the middle of its work.
void interruptDuring(Interrupting& screen, Step step) {
  switch (step) {
    case Step::Open: screen.at = "SSCommand1.Enabled=False"; break;  // the workbook is blanked and shown
    case Step::Reading:
      screen.after = "Label1.Caption=Initial analysis...";
      screen.at = "Value=8";
      break;
    case Step::Run: screen.at = "Value=2"; break;  // set 1 is written, set 2 begins
  }
}

class LostDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(TestOffice::get().folder()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::create_directories(dir);
  }
  // A killed office is replaced for the next test.
  void TearDown() override {
    if (killed) TestOffice::stop();
  }

  LibreOfficeOptions hidden() {
    LibreOfficeOptions options = TestOffice::get().engineOptions();
    options.loadHidden = true;
    return options;
  }

  void lose(Loss loss, const fs::path& file) {
    switch (loss) {
      case Loss::Closed: closeDocument(openDocument(TestOffice::get().connection(), file.string())); break;
      case Loss::Killed:
        TestOffice::get().kill();
        killed = true;
        break;
      case Loss::Disconnected: TestOffice::get().dropConnections(); break;
    }
  }

  struct Outcome {
    std::optional<Step> faultedIn;  // none: the whole analysis went through
    std::string fault;
  };

  // "<<Back" to the choice, Open again, Reading and Run on a copy of a
  // three-probe test, with the loss before or during `step`.
  Outcome analyse(Loss loss, Step step, bool during, const fs::path& file) {
    fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e/three-sets.xlsx", file);
    Module1 m;
    // Made here, not by the module: the test drops the engine's connections
    // through the one local UNO context they then share.
    const auto engine = std::make_shared<LibreOfficeEngine>(hidden());
    m.Engine = engine;
    const std::string folder = file.parent_path().string(), name = file.filename().string();
    RecordingFeedback first;
    OpenWorkbook(m, first, folder, name);

    Outcome outcome;
    for (Step now : {Step::Open, Step::Reading, Step::Run}) {
      Interrupting screen;
      if (now == step && during) {
        interruptDuring(screen, step);
        screen.act = [&] { lose(loss, file); };
      }
      if (now == step && !during) lose(loss, file);
      try {
        switch (now) {
          case Step::Open: OpenWorkbook(m, screen, folder, name); break;
          case Step::Reading: ReadDataSets(m, screen); break;
          case Step::Run: RunAnalysis(m, screen); break;
        }
      } catch (const Fault& fault) {
        outcome = {now, fault.description()};
        expectPlainWords(fault.description());
        break;
      }
      EXPECT_FALSE(screen.act) << "the loss did not happen during the " << nameOf(now);
    }
    if (!killed) engine->closeDocumentsLoadedHere();
    return outcome;
  }

  // The loss before and during each command. Before the Open and the
  // Reading the workbook may be loaded anew, when an office is there to load
  // it; otherwise the command that meets the loss ends in a fault, and
  // `check` looks further at it and at the file.
  void atEveryMoment(Loss loss, const std::function<void(Step, bool during, const Outcome&, const fs::path&)>& check) {
    for (Step step : {Step::Open, Step::Reading, Step::Run})
      for (bool during : {false, true}) {
        SCOPED_TRACE(std::string(during ? "during the " : "before the ") + nameOf(step));
        const fs::path file = dir / (std::string(nameOf(step)) + (during ? "-during" : "-before") + ".xlsx");
        const Outcome outcome = analyse(loss, step, during, file);
        if (!during && step != Step::Run && loss != Loss::Killed) {
          EXPECT_FALSE(outcome.faultedIn) << outcome.fault;
          continue;
        }
        ASSERT_EQ(outcome.faultedIn, step) << outcome.fault;
        if (step == Step::Run && !during) {
          for (const char* part : {"closed after the Reading", "initial analysis", "start thresholds", "\"<<Back\"",
                                   "\"Reading \"", "read it anew"})
            EXPECT_NE(outcome.fault.find(part), std::string::npos) << part << " in: " << outcome.fault;
        }
        check(step, during, outcome, file);
      }
  }

  fs::path dir;
  bool killed = false;
};

TEST_F(LostDocument, ClosedByTheUserBeforeOrDuringEachCommand) {
  const std::string onDisk = bytesOf(fs::path(VK_SOURCE_DIR) / "tests/data/e2e/three-sets.xlsx");
  atEveryMoment(Loss::Closed, [&](Step, bool, const Outcome& outcome, const fs::path& file) {
    EXPECT_NE(outcome.fault.find("closed"), std::string::npos) << outcome.fault;
    // Nothing loaded it again, and the wizard's engine never stores.
    EXPECT_FALSE(isOpen(TestOffice::get().connection(), file.string()));
    EXPECT_EQ(bytesOf(file), onDisk);
  });
}

// The tests' engine starts no office: after the kill every command fails.
TEST_F(LostDocument, OfficeKilledBeforeOrDuringEachCommand) {
  atEveryMoment(Loss::Killed, [&](Step, bool, const Outcome&, const fs::path&) {
    TestOffice::stop();
    dir = fs::path(TestOffice::get().folder()) / "killed";
    fs::create_directories(dir);
    killed = false;
  });
}

// The office and its document stay; only the link is gone. The Open and the
// Reading connect again and find the document; the Run does not take it for
// the one the Reading read, and writes nothing into it.
TEST_F(LostDocument, ConnectionLostBeforeOrDuringEachCommand) {
  atEveryMoment(Loss::Disconnected, [&](Step step, bool during, const Outcome&, const fs::path& file) {
    if (step != Step::Run) return;
    Document doc = openDocument(TestOffice::get().connection(), file.string());
    ASSERT_TRUE(doc.is());
    EXPECT_TRUE(isEmptyCell(doc, c::kResultsSheet, c::kAverageRow, c::kKLa20Column));
    if (!during) {
      EXPECT_TRUE(isEmptyCell(doc, c::kResultsSheet, c::kStartPercentResultRow, c::testColumn(1)));
    }
    closeDocument(doc);
  });
}

// Every call of the Workbook interface on a document that went away, with
// writes still waiting: a fault in plain words or nothing, never an
// exception of LibreOffice; and letting go of it ends nothing.
TEST_F(LostDocument, EveryCallAfterTheLossIsAFault) {
  for (Loss loss : {Loss::Closed, Loss::Disconnected}) {
    SCOPED_TRACE(nameOf(loss));
    LibreOfficeEngine engine(hidden());
    auto bound = [&](const std::string& name) {
      const fs::path file = dir / (std::string(nameOf(loss)) + "-" + name + ".xlsx");
      fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e/one-set.xlsx", file);
      std::shared_ptr<Workbook> book = engine.bind(file.string());
      book->write(3, 13, 1, Integer(1));
      book->write(2, 45, 1, Integer(0));
      lose(loss, file);
      return book;
    };

    // The last reference let go of with the writes still waiting.
    bound("dropped").reset();

    std::shared_ptr<Workbook> book = bound("called");
    EXPECT_FALSE(book->stillOpen());
    EXPECT_FALSE(book->unsavedChanges());
    int faults = 0;
    auto call = [&](const char* what, const std::function<void()>& work) {
      try {
        work();
      } catch (const Fault& fault) {
        ++faults;
        expectPlainWords(fault.description());
      } catch (...) {
        ADD_FAILURE() << what << " let something other than a fault through";
      }
    };
    call("readNumber", [&] { book->readNumber(1, 7, 3); });
    call("cellKind", [&] { book->cellKind(2, 45, 1); });
    call("sheets", [&] { book->sheets(); });
    call("definedName", [&] { book->definedName("VK_Test"); });
    call("write", [&] { book->write(1, 1, 1, Integer(1)); });
    call("clearContents", [&] { book->clearContents(3, "a13:h18"); });
    call("select", [&] { book->select(1, "a1"); });
    call("show", [&] { book->show(3); });
    call("runMacro", [&] { book->runMacro("Redraw"); });
    call("commit", [&] { book->commit(); });
    call("save", [&] { book->save(); });
    EXPECT_GE(faults, 10);  // a closed document may just have no defined names left
    book.reset();
    engine.closeDocumentsLoadedHere();
  }
}

}  // namespace
}  // namespace vk::test

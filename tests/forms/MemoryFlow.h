#pragma once
// A wizard on the in-memory engine, its workbook holding a test and already
// attached, as a successful Open leaves it; tests then show the screen they
// are about.

#include <QEvent>
#include <functional>
#include <map>

#include "ScreenTest.h"
#include "commands/ReadingCommand.h"
#include "module1/Fault.h"
#include "support/RecordingFeedback.h"
#include "support/TestBook.h"
#include "workbook/Book.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

inline TestData probes(int sets) {
  TestData data;
  data.times = workedTimes();
  for (int s = 0; s < sets; ++s) {
    std::vector<float> conc = workedConc();
    for (float& c : conc) c += 0.1f * float(s);
    data.sets.push_back(conc);
  }
  return data;
}

// A memory workbook that lets a test look at the screen whenever a command
// reads or writes a cell, that is, while the command's handler is still
// working, or make its commit fail; and that stands in for a document a
// spreadsheet program holds with changes not saved yet.
class WatchedBook : public MemoryWorkbook {
 public:
  using MemoryWorkbook::MemoryWorkbook;
  std::function<void()> onRead, onWrite, onCommit, onSave;
  bool unsaved = false;
  int saves = 0;
  double readNumber(int sheet, int row, int column) override {
    if (onRead) onRead();
    return MemoryWorkbook::readNumber(sheet, row, column);
  }
  void write(int sheet, int row, int column, const Variant& value) override {
    if (onWrite) onWrite();
    MemoryWorkbook::write(sheet, row, column, value);
  }
  void commit() override {
    if (onCommit) onCommit();
    MemoryWorkbook::commit();
  }
  bool unsavedChanges() override { return unsaved; }
  void save() override {
    if (onSave) onSave();
    ++saves;
    unsaved = false;
  }
};

class WatchedEngine : public WorkbookEngine {
 public:
  explicit WatchedEngine(std::shared_ptr<WatchedBook> book) : book_(std::move(book)) {}
  std::shared_ptr<Workbook> bind(const std::string& path) override {
    if (path != book_->path()) throw Fault(FaultKind::Workbook, "no workbook " + path);
    return book_;
  }
  std::string name() const override { return "watched"; }
  std::vector<std::string> extensions() const override { return {"xlsx", "xlsm"}; }

 private:
  std::shared_ptr<WatchedBook> book_;
};

struct MemoryFlow {
  static constexpr const char* kPath = "/memory/test.xlsx";
  std::shared_ptr<WatchedBook> book;
  std::unique_ptr<Wizard> wizard;

  // `path` need not exist; the workbook is in memory under that name.
  explicit MemoryFlow(const TestData& data, const std::string& path = kPath)
      : book(std::make_shared<WatchedBook>(path)),
        wizard(std::make_unique<Wizard>(std::make_shared<WatchedEngine>(book))) {
    writeTestSheet(*book, data);
    Module1& m = wizard->module();
    m.WorkbookPath = path;
    m.WorkbookName = path.substr(path.rfind('/') + 1);
    OpenBook(m);
  }
  Module1& module() { return wizard->module(); }
  QWidget* screen() { return wizard->current(); }

  // The data read as "Reading " reads them.
  void read() {
    RecordingFeedback quiet;
    ReadDataSets(module(), quiet);
  }
  void show(void (Wizard::*move)()) {
    (wizard.get()->*move)();
    settle();
    QVERIFY(QTest::qWaitForWindowExposed(screen()));
  }
};

// Counts the paint events of a screen's controls.
class PaintCounter : public QObject {
 public:
  void watch(QWidget* control) {
    control->installEventFilter(this);
    painted[control->objectName()] = 0;
  }
  std::map<QString, int> painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++painted[watched->objectName()];
    return false;
  }
};

}  // namespace vk::test

// frmInput: the lists on a Linux file system, the selection line in its four
// forms, the Open command's guard and the drive that cannot be read.

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include "ScreenTest.h"
#include "forms/DirList.h"
#include "forms/FileList.h"
#include "forms/SystemBeep.h"
#include "module1/Fault.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

namespace {

// An engine that cannot attach to any workbook.
class RefusingEngine : public WorkbookEngine {
 public:
  std::shared_ptr<Workbook> bind(const std::string& path) override {
    throw Fault(FaultKind::Workbook, "the workbook " + path + " cannot be read: it is not a workbook");
  }
  std::string name() const override { return "refusing"; }
  std::vector<std::string> extensions() const override { return {"xlsx", "xlsm"}; }
};

// An engine that also opens the older binary format but not workbooks with
// macros.
class OlderFormatsEngine : public MemoryEngine {
 public:
  std::vector<std::string> extensions() const override { return {"xls", "xlsx"}; }
};

QListWidgetItem* entry(QListWidget* list, const QString& text) {
  for (int row = 0; row < list->count(); ++row)
    if (list->item(row)->text() == text) return list->item(row);
  qFatal("%s has no entry %s", qPrintable(list->objectName()), qPrintable(text));
  return nullptr;
}

QStringList entries(QListWidget* list) {
  QStringList texts;
  for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
  return texts;
}

QPoint middleOf(QListWidget* list, QListWidgetItem* item) {
  list->scrollToItem(item);
  return list->visualItemRect(item).center();
}

void clickEntry(QListWidget* list, const QString& text) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, middleOf(list, entry(list, text)));
  settle();
}

void doubleClickEntry(QListWidget* list, const QString& text) {
  const QPoint where = middleOf(list, entry(list, text));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, where);
  settle();
}

}  // namespace

class InputTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  QString startDir;
  std::shared_ptr<MemoryEngine> engine;
  std::unique_ptr<Wizard> wizard;

  QWidget* screen() const { return wizard->current(); }
  Module1& module() const { return wizard->module(); }
  DirList* dirLook() const { return control<DirList>(screen(), "dirLook"); }
  FileList* filFind() const { return control<FileList>(screen(), "filFind"); }
  QComboBox* drvChange() const { return control<QComboBox>(screen(), "drvChange"); }

  // The wizard on frmInput, its lists starting in the given directory.
  void openScreenIn(const QString& directory, std::shared_ptr<WorkbookEngine> with = {}) {
    QDir::setCurrent(directory);
    wizard = std::make_unique<Wizard>(with ? with : engine);
    wizard->showInput();
    settle();
  }

  void expectChoosing() {
    QCOMPARE(caption(screen(), "Label2"), QString());
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    QVERIFY(!control(screen(), "cmdNext")->isEnabled());
    for (const char* name : {"SSCommand1", "drvChange", "dirLook", "filFind"})
      QVERIFY2(control(screen(), name)->isEnabled(), name);
  }

 private slots:
  void initTestCase() {
    QVERIFY(folder.isValid());
    startDir = QDir::currentPath();
    // A test directory: two workbooks the engine can open, files it cannot,
    // a hidden lock file, and a sub-directory with a workbook of its own.
    for (const char* name : {"test.xlsx", "macros.xlsm", "old.xls", "notes.txt", ".~lock.test.xlsx#", ".hidden.xlsx"})
      touch(folder.filePath(name));
    QVERIFY(QDir(folder.path()).mkdir("Probes"));
    touch(folder.filePath("Probes/second.xlsx"));
  }
  void init() {
    engine = std::make_shared<MemoryEngine>();
    MessageBox::clearShown();
    openScreenIn(folder.path());
  }
  void cleanup() {
    wizard.reset();
    QCOMPARE(MessageBox::pendingAnswers(), 0);
  }
  void cleanupTestCase() { QDir::setCurrent(startDir); }

  void layoutAndInitialState() {
    expectWindow(screen(), "Input Data Form..", QColor(192, 255, 255), 5652, 6840);
    expectLayout(screen(), {
                               {"Label1", "Browse your Data File", {480, 240, 2775, 495}, 12},
                               {"drvChange", {}, {720, 720, 3975, 315}, 7.8},
                               {"Label2", "", {480, 1200, 4455, 615}, 7.8},
                               {"dirLook", {}, {360, 1920, 4695, 2055}, 7.8},
                               {"filFind", {}, {360, 4320, 4692, 648}, 7.8},
                               {"SSCommand1", "Open", {600, 5520, 972, 852}, 12},
                               {"cmdNext", "Next >>", {3840, 5640, 975, 615}, 7.8},
                           });
    expectChoosing();
    // cmdNext comes first in the focus order but is hidden: the drive list
    // takes the focus.
    QVERIFY(drvChange()->hasFocus());
    for (const char* next : {"dirLook", "filFind", "SSCommand1", "drvChange"}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QVERIFY2(control(screen(), next)->hasFocus(), next);
    }
    QCOMPARE(control(screen(), "SSCommand1")->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(control(screen(), "cmdNext")->cursor().shape(), Qt::BitmapCursor);
  }

  void listsStartInTheCurrentDirectory() {
    QCOMPARE(dirLook()->path(), QDir(folder.path()).absolutePath());
    QCOMPARE(filFind()->path(), dirLook()->path());
    QCOMPARE(entries(filFind()), QStringList({"macros.xlsm", "test.xlsx"}));
    QCOMPARE(filFind()->fileName(), QString());
    // The directory list: the parents from the root down, then the sub-directories.
    const QStringList dirs = entries(dirLook());
    QCOMPARE(dirs.first(), QString("/"));
    QCOMPARE(dirs.last(), QString("Probes"));
    QCOMPARE(dirs.at(dirs.size() - 2), QDir(folder.path()).dirName());
    QCOMPARE(drvChange()->currentText(), QString("/"));
  }

  void fileListShowsWhatTheEngineOpens() {
    openScreenIn(folder.path(), std::make_shared<OlderFormatsEngine>());
    QCOMPARE(entries(filFind()), QStringList({"old.xls", "test.xlsx"}));
  }

  void clickOnAFileShowsItsPath() {
    clickEntry(filFind(), "test.xlsx");
    QCOMPARE(caption(screen(), "Label2"), "Your selection is: " + folder.path() + "/test.xlsx");
    QVERIFY(module().WorkbookPath.empty());
    QVERIFY(!module().DataBook);
  }

  void doubleClickOnADirectoryEntersIt() {
    doubleClickEntry(dirLook(), "Probes");
    const QString probes = folder.path() + "/Probes";
    QCOMPARE(dirLook()->path(), probes);
    QCOMPARE(caption(screen(), "Label2"), "Your selection is: " + probes);
    QCOMPARE(entries(filFind()), QStringList({"second.xlsx"}));
    QCOMPARE(entries(dirLook()).last(), QString("Probes"));
  }

  void openWithNothingChosenOnlyComplains() {
    const int beeps = systemBeepCount();
    answerNextBox();
    click(screen(), "SSCommand1");
    QCOMPARE(systemBeepCount(), beeps + 1);
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    const MessageBox::Shown& box = MessageBox::shown().front();
    QCOMPARE(box.text, QString("Please Choose a proper file"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.title, QString());
    QVERIFY(!module().DataBook && !module().FileBook);
    QVERIFY(module().WorkbookPath.empty());
    expectChoosing();
  }

  void openAttachesAndLocksTheChoice() {
    clickEntry(filFind(), "test.xlsx");
    const int beeps = systemBeepCount();
    click(screen(), "SSCommand1");
    const QString path = folder.path() + "/test.xlsx";
    QCOMPARE(systemBeepCount(), beeps + 1);
    QCOMPARE(QString::fromStdString(module().WorkbookPath), path);
    QCOMPARE(module().WorkbookName, std::string("test.xlsx"));
    QCOMPARE(caption(screen(), "Label2"), "Your selection is : " + path + " (memory)");
    QVERIFY(module().DataBook);
    QCOMPARE(engine->book(path.toStdString())->shownSheet(), 1);
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    QVERIFY(control(screen(), "cmdNext")->isEnabled());
    for (const char* name : {"SSCommand1", "drvChange", "dirLook", "filFind"})
      QVERIFY2(!control(screen(), name)->isEnabled(), name);
  }

  // A double click first raises the click (the file's path on the line),
  // then runs the whole Open command (the line with the blank before the colon).
  void doubleClickOnAFileClicksThenOpens() {
    QStringList lines;
    auto record = [&] { lines << caption(screen(), "Label2"); };
    connect(filFind(), &FileList::click, this, record);
    connect(filFind(), &FileList::dblClick, this, record);
    doubleClickEntry(filFind(), "macros.xlsm");
    const QString path = folder.path() + "/macros.xlsm";
    QCOMPARE(lines.first(), "Your selection is: " + path);
    QCOMPARE(lines.last(), "Your selection is : " + path + " (memory)");
    QCOMPARE(QString::fromStdString(module().WorkbookPath), path);
    QVERIFY(module().DataBook);
  }

  // Choosing another drive: the lists follow it and the line ends on the drive.
  void driveChangeMovesTheListsAndShowsTheDrive() {
    const int other = drvChange()->count();
    drvChange()->addItem(folder.path() + "/Probes");
    drvChange()->setCurrentIndex(other);
    settle();
    QCOMPARE(dirLook()->path(), folder.path() + "/Probes");
    QCOMPARE(filFind()->path(), dirLook()->path());
    QCOMPARE(caption(screen(), "Label2"), "Your selection is: " + folder.path() + "/Probes");
  }

  void driveThatCannotBeReadLeavesTheListsWhereTheyWere() {
    const QString medium = "/media/vk-no-such-medium";
    drvChange()->addItem(medium);
    answerNextBox();
    drvChange()->setCurrentIndex(drvChange()->count() - 1);
    settle();
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QCOMPARE(MessageBox::shown().front().text, QString("Device is not ready!!"));
    QCOMPARE(MessageBox::shown().front().title, QString("Error!!"));
    QCOMPARE(caption(screen(), "Label2"), "Your selection is: " + medium);
    QCOMPARE(drvChange()->currentText(), medium);
    QCOMPARE(dirLook()->path(), folder.path());
    // A click on a file builds its line from the directory that did not change.
    clickEntry(filFind(), "test.xlsx");
    QCOMPARE(caption(screen(), "Label2"), "Your selection is: " + folder.path() + "/test.xlsx");
  }

  // The root already ends in the separator: no second one in the line or the
  // path. Both are built from the directory list's path and the file list's
  // entry; the test writes no file into the root, so the file list shows the
  // test folder while the directory list stands at the root.
  void fileInTheRootGetsNoDoubledSeparator() {
    openScreenIn("/");
    QCOMPARE(dirLook()->path(), QString("/"));
    filFind()->setPath(folder.path());
    clickEntry(filFind(), "test.xlsx");
    QCOMPARE(caption(screen(), "Label2"), QString("Your selection is: /test.xlsx"));
    click(screen(), "SSCommand1");
    QCOMPARE(QString::fromStdString(module().WorkbookPath), QString("/test.xlsx"));
    QCOMPARE(caption(screen(), "Label2"), QString("Your selection is : /test.xlsx (memory)"));
  }

  void faultWhileOpeningIsShownAndTheScreenStaysUsable() {
    openScreenIn(folder.path(), std::make_shared<RefusingEngine>());
    clickEntry(filFind(), "test.xlsx");
    answerNextBox();
    click(screen(), "SSCommand1");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains("it is not a workbook"));
    QCOMPARE(MessageBox::shown().front().icon, QMessageBox::Warning);
    QVERIFY(!module().DataBook);
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    for (const char* name : {"SSCommand1", "drvChange", "dirLook", "filFind"})
      QVERIFY2(control(screen(), name)->isEnabled(), name);
  }

  // The guard: without a successful Open there is no way on.
  void nextIsUnusableUntilAWorkbookIsOpen() {
    QTest::mouseClick(control<QPushButton>(screen(), "cmdNext"), Qt::LeftButton);
    settle();
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    clickEntry(filFind(), "test.xlsx");
    click(screen(), "SSCommand1");
    click(screen(), "cmdNext");
    QCOMPARE(screen()->objectName(), QString("frmRead"));
    QCOMPARE(screensAlive(), 1);
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::InputTest)
#include "input_test.moc"

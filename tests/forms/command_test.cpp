// What every command is like on the screens: the busy pointer while it
// works, clicks and keys made meanwhile dropped, the screen put back after a
// fault, the wizard's window in front again afterwards; Return on the
// buttons and in the file list; the selection line while the spreadsheet
// program starts; and the offer to save what only the spreadsheet program
// holds before the workbook is let go of.

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "MemoryFlow.h"
#include "forms/DesktopBrowser.h"
#include "forms/FileList.h"
#include "workbook/CellMap.h"

namespace vk::test {

namespace {

// Input that waits for the event loop, as a user's click or key made while
// a handler works does; a test click would run the handler within the command.
void postClick(QWidget* target) {
  const QPointF at = QRectF(target->rect()).center(), global = target->mapToGlobal(at);
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void postKey(QWidget* target, Qt::Key key) {
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

void pressReturn(QWidget* screen, const char* name, Qt::Key key = Qt::Key_Return) {
  QWidget* button = control(screen, name);
  button->setFocus();
  QTest::keyClick(button, key);
  settle();
}

std::optional<Qt::CursorShape> overridePointer() {
  const QCursor* pointer = QApplication::overrideCursor();
  return pointer ? std::optional<Qt::CursorShape>(pointer->shape()) : std::nullopt;
}

// An engine that starts its spreadsheet program at the first binding and
// says so while it does; what the selection line showed then is kept.
class StartingEngine : public WatchedEngine {
 public:
  using WatchedEngine::WatchedEngine;
  std::function<void()> whileStarting;
  void tellWhenStarting(std::function<void(const std::string&)> tell) override { tell_ = std::move(tell); }
  std::shared_ptr<Workbook> bind(const std::string& path) override {
    if (!started_ && tell_) {
      started_ = true;
      tell_("Calc is starting...");
      if (whileStarting) whileStarting();
    }
    return WatchedEngine::bind(path);
  }

 private:
  std::function<void(const std::string&)> tell_;
  bool started_ = false;
};

}  // namespace

class CommandTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  QString startDir;
  std::unique_ptr<MemoryFlow> flow;

  QWidget* screen() const { return flow->screen(); }
  QString workbook() const { return folder.filePath("test.xlsx"); }

  void readAndRun() {
    flow->read();
    flow->show(&Wizard::showRun);
    click(screen(), "SSCommand2");
    QVERIFY(control(screen(), "cmdBye")->isVisible());
  }

 private slots:
  void initTestCase() {
    QVERIFY(folder.isValid());
    startDir = QDir::currentPath();
    touch(workbook());
  }
  void init() {
    MessageBox::clearShown();
    flow = std::make_unique<MemoryFlow>(probes(3), workbook().toStdString());
  }
  void cleanup() {
    flow.reset();
    QCOMPARE(MessageBox::pendingAnswers(), 0);
    QVERIFY(!QApplication::overrideCursor());
  }
  void cleanupTestCase() { QDir::setCurrent(startDir); }

  // 1. Busy while it works, and not afterwards, also after a fault.

  void busyPointerWhileACommandWorks() {
    flow->show(&Wizard::showRead);
    std::optional<Qt::CursorShape> during;
    flow->book->onRead = [&] { during = overridePointer(); };
    click(screen(), "cmdRead");
    QCOMPARE(during, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    QVERIFY(!QApplication::overrideCursor());

    flow->show(&Wizard::showRun);
    during.reset();
    flow->book->onRead = [&] { during = overridePointer(); };
    flow->book->setText(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(1), "ten");
    answerNextBox();
    click(screen(), "SSCommand2");
    QCOMPARE(during, std::optional<Qt::CursorShape>(Qt::WaitCursor));
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(!QApplication::overrideCursor());
  }

  // 2. A click on "<<Back" and a Return on it while the Reading or the Run
  // works are dropped; the same input made afterwards is carried out.
  void inputDuringACommandIsDropped() {
    flow->show(&Wizard::showRead);
    bool posted = false;
    flow->book->onRead = [&] {
      if (std::exchange(posted, true)) return;
      postClick(control(screen(), "cmdBack"));
      postKey(control(screen(), "cmdBack"), Qt::Key_Return);
      postKey(control(screen(), "cmdBack"), Qt::Key_Space);
    };
    click(screen(), "cmdRead");
    settle();
    QVERIFY(posted);
    QCOMPARE(screen()->objectName(), QString("frmRead"));
    QVERIFY(control(screen(), "cmdNext")->isVisible());

    flow->book->onRead = nullptr;
    flow->show(&Wizard::showRun);
    posted = false;
    flow->book->onWrite = [&] {
      if (!std::exchange(posted, true)) postClick(control(screen(), "cmdBack"));
    };
    click(screen(), "SSCommand2");
    settle();
    QVERIFY(posted);
    QCOMPARE(screen()->objectName(), QString("frmRun"));
    QVERIFY(control(screen(), "cmdBye")->isVisible());

    // Outside a command the same click goes back.
    postClick(control(screen(), "cmdBack"));
    settle();
    QCOMPARE(screen()->objectName(), QString("frmRead"));
  }

  // 3. After a fault nothing looks busy, and nothing the command would
  // have opened is offered.
  void readingScreenAfterAFault() {
    flow->show(&Wizard::showRead);
    flow->book->setText(cells::kTestSheet, cells::readingRow(5), cells::concColumn(2), "warm");
    bool busyShown = false;
    flow->book->onRead = [&] {
      busyShown =
          busyShown || (control(screen(), "Label3")->isVisible() && control(screen(), "ProgressBar1")->isVisible());
    };
    answerNextBox();
    click(screen(), "cmdRead");
    QVERIFY(busyShown);
    QVERIFY(MessageBox::shown().front().text.contains("I11"));
    for (const char* name : {"Label3", "ProgressBar1", "cmdNext"}) QVERIFY2(control(screen(), name)->isHidden(), name);
    QCOMPARE(caption(screen(), "Label1"), QString());
    QVERIFY(control(screen(), "cmdRead")->isEnabled());
  }

  // The results did not all arrive (the commit failed after the last step):
  // the run screen is as before the run, "Run!!" usable again.
  void runScreenAfterAFault() {
    flow->read();
    flow->show(&Wizard::showRun);
    bool failed = false;
    flow->book->onCommit = [&] {
      if (!std::exchange(failed, true))
        throw Fault(FaultKind::Workbook, "the results could not all be written: the workbook was closed");
    };
    answerNextBox();
    click(screen(), "SSCommand2");
    QVERIFY(failed);
    QVERIFY(MessageBox::shown().front().text.contains("could not all be written"));
    QVERIFY(control(screen(), "SSCommand2")->isEnabled());
    for (const char* name : {"cmdBye", "cmdStartOver", "cmdReport", "ProgressBar1"})
      QVERIFY2(control(screen(), name)->isHidden(), name);
    QCOMPARE(caption(screen(), "Label1"), QString());
    QVERIFY(control(screen(), "Label1")->isVisible());
    QVERIFY(!control<QTimer>(screen(), "Timer1")->isActive());

    click(screen(), "SSCommand2");
    QVERIFY(control(screen(), "cmdBye")->isVisible());
  }

  void choiceScreenAfterAFault() {
    QDir::setCurrent(folder.path());
    flow->show(&Wizard::showInput);
    flow->book->onCommit = [] { throw Fault(FaultKind::Workbook, "LibreOffice has ended"); };
    auto* files = control<FileList>(screen(), "filFind");
    files->setCurrentRow(0);
    answerNextBox();
    click(screen(), "SSCommand1");
    flow->book->onCommit = nullptr;
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    for (const char* name : {"SSCommand1", "drvChange", "dirLook", "filFind"})
      QVERIFY2(control(screen(), name)->isEnabled(), name);
  }

  // 4. The wizard's window comes to the front again after a command, which
  // brought the spreadsheet's window before it.
  void theScreenIsInFrontAgainAfterACommand() {
    flow->show(&Wizard::showRead);
    QWidget spreadsheet;
    spreadsheet.setWindowTitle("spreadsheet");
    spreadsheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&spreadsheet));
    spreadsheet.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &spreadsheet);
    screen()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), screen());

    bool shown = false;
    flow->book->onRead = [&] {
      if (!std::exchange(shown, true)) spreadsheet.activateWindow();
    };
    click(screen(), "cmdRead");
    QTRY_COMPARE(QApplication::activeWindow(), screen());
  }

  // 5. Return presses the focused button, as the space bar does; the buttons
  // are not default buttons.
  void returnPressesTheFocusedButton() {
    QDir::setCurrent(folder.path());
    flow->wizard->start();
    settle();
    pressReturn(screen(), "cmdNext");
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    for (QPushButton* button : screen()->findChildren<QPushButton*>())
      QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->objectName()));
    control<FileList>(screen(), "filFind")->setCurrentRow(0);
    pressReturn(screen(), "SSCommand1");
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    pressReturn(screen(), "cmdNext");
    QCOMPARE(screen()->objectName(), QString("frmRead"));

    pressReturn(screen(), "cmdRead", Qt::Key_Enter);
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    pressReturn(screen(), "cmdBack");
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    flow->show(&Wizard::showRead);
    pressReturn(screen(), "cmdRead");
    pressReturn(screen(), "cmdNext");
    QCOMPARE(screen()->objectName(), QString("frmRun"));

    pressReturn(screen(), "SSCommand2");
    QVERIFY(control(screen(), "cmdBye")->isVisible());
    std::vector<QUrl> opened;
    DesktopBrowser::setHook([&](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
    pressReturn(screen(), "cmdReport");
    DesktopBrowser::setHook({});
    QCOMPARE(opened.size(), size_t(1));
    pressReturn(screen(), "cmdBack");
    QCOMPARE(screen()->objectName(), QString("frmRead"));

    flow->show(&Wizard::showRun);
    pressReturn(screen(), "SSCommand2");
    pressReturn(screen(), "cmdStartOver");
    QCOMPARE(screen()->objectName(), QString("frmInput"));

    flow = std::make_unique<MemoryFlow>(probes(2), workbook().toStdString());
    readAndRun();
    pressReturn(screen(), "cmdBye");
    QVERIFY(flow->wizard->ended());
  }

  // Return on the file that has the focus in the list does what a double
  // click does: the click, then the Open.
  void returnInTheFileListOpensTheFile() {
    QDir::setCurrent(folder.path());
    flow->show(&Wizard::showInput);
    auto* files = control<FileList>(screen(), "filFind");
    files->setFocus();
    QCOMPARE(files->currentItem()->text(), QString("test.xlsx"));
    QTest::keyClick(files, Qt::Key_Return);
    settle();
    QVERIFY(caption(screen(), "Label2").startsWith("Your selection is : " + workbook()));
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    QVERIFY(!control(screen(), "SSCommand1")->isEnabled());
  }

  // 6. While the first Open starts the spreadsheet program, the selection
  // line says so; then it shows the choice again.
  void theSelectionLineSaysWhenTheSpreadsheetProgramStarts() {
    QDir::setCurrent(folder.path());
    auto engine = std::make_shared<StartingEngine>(flow->book);
    Wizard wizard(engine);
    wizard.module().WorkbookPath = flow->module().WorkbookPath;
    wizard.showInput();
    settle();
    PaintCounter counter;
    counter.watch(control(wizard.current(), "Label2"));
    QString whileStarting;
    int paintsWhileStarting = 0;
    engine->whileStarting = [&] {
      whileStarting = caption(wizard.current(), "Label2");
      paintsWhileStarting = counter.painted["Label2"];
    };
    control<FileList>(wizard.current(), "filFind")->setCurrentRow(0);
    click(wizard.current(), "SSCommand1");
    const QString selection = "Your selection is : " + workbook();
    QCOMPARE(whileStarting, selection + "\nCalc is starting...");
    QVERIFY(paintsWhileStarting > 0);
    QCOMPARE(caption(wizard.current(), "Label2"), selection + " (watched)");
  }

  // 7. The offer to save, answered both ways, at "Bye!!", "Start Over" and
  // the window's frame; a save that fails keeps the user where he is.
  void byeOffersToSaveTheResults() {
    readAndRun();
    flow->book->unsaved = true;
    MessageBox::setNextAnswer(QMessageBox::No);
    click(screen(), "cmdBye");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    const MessageBox::Shown& offer = MessageBox::shown().front();
    QCOMPARE(offer.icon, QMessageBox::Question);
    QCOMPARE(offer.buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    QVERIFY(offer.text.contains(workbook()));
    QVERIFY(offer.text.contains("not saved"));
    QVERIFY(flow->wizard->ended());
    QCOMPARE(flow->book->saves, 0);

    flow = std::make_unique<MemoryFlow>(probes(2), workbook().toStdString());
    readAndRun();
    flow->book->unsaved = true;
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(screen(), "cmdBye");
    QVERIFY(flow->wizard->ended());
    QCOMPARE(flow->book->saves, 1);
  }

  void startOverOffersToSaveTheResults() {
    readAndRun();
    flow->book->unsaved = true;
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(screen(), "cmdStartOver");
    QCOMPARE(flow->book->saves, 1);
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    QVERIFY(!flow->module().DataBook);
  }

  void closingTheWindowOffersToSaveAndAFailedSaveKeepsItOpen() {
    readAndRun();
    flow->book->unsaved = true;
    flow->book->onSave = [] { throw Fault(FaultKind::Workbook, "LibreOffice failed to save the workbook"); };
    MessageBox::setNextAnswer(QMessageBox::Yes);
    answerNextBox();
    screen()->close();
    settle();
    QCOMPARE(MessageBox::shown().size(), size_t(2));
    QVERIFY(MessageBox::shown().back().text.contains("failed to save"));
    QVERIFY(!flow->wizard->ended());
    QVERIFY(screen()->isVisible());

    MessageBox::setNextAnswer(QMessageBox::No);
    screen()->close();
    settle();
    QVERIFY(flow->wizard->ended());
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::CommandTest)
#include "command_test.moc"

// The wizard on a live LibreOffice, clicked and typed through as a user
// does: the first Open starts the office and the selection line says so; a
// read-only workbook is refused; a threshold edited in Calc between the
// Reading and the Run is the one the Run uses, with the results the embedded
// engine gives for it; the offer to save at "Bye!!" (declined: the document
// stays open and unsaved) and at "Start Over" (accepted: the file holds the
// results); a workbook closed after the Reading is refused by "Run!!" and
// read anew through "<<Back" and "Reading ".
//
// The office is the engine's own (a private pipe and profile, headless),
// ended with this program by a watchdog made before anything else.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "ScreenTest.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "support/RecordingFeedback.h"
#include "support/XlsxCells.h"
#include "tests/uno/TestDocuments.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/TemplateBook.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeWatchdog.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::test {

namespace {

namespace c = cells;
const QString kSample = QStringLiteral(VK_SOURCE_DIR "/templates/sample.xlsx");

QByteArray bytesOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The texts a label showed when it was painted.
class ShownTexts : public QObject {
 public:
  explicit ShownTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
  QStringList texts;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) texts << label_->text();
    return false;
  }

 private:
  QLabel* label_;
};

// The document the wizard works on, as the user sees it in Calc.
Document documentOf(Wizard& wizard) {
  auto book = std::dynamic_pointer_cast<TemplateBook>(wizard.module().DataBook);
  auto calc = book ? std::dynamic_pointer_cast<CalcWorkbook>(book->tabs()) : nullptr;
  return calc ? calc->document() : Document();
}

// KLa20 of set 1 (B13) as the embedded engine gives it for the sample with
// set 1's start threshold at `percent`.
double embeddedKLa20(const QString& folder, int percent) {
  const QString copy = folder + "/embedded.xlsx";
  QFile::remove(copy);
  if (!QFile::copy(kSample, copy)) return -1;
  Module1 m;
  m.Engine = std::make_shared<XlsxEngine>();
  RecordingFeedback quiet;
  OpenWorkbook(m, quiet, folder.toStdString(), "embedded.xlsx");
  ReadDataSets(m, quiet);
  dataBook(m).write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(1), Integer::checked(percent));
  dataBook(m).commit();
  RunAnalysis(m, quiet);
  return dataBook(m).readNumber(c::kResultsSheet, c::summaryRow(1), c::kKLa20Column);
}

}  // namespace

class LiveFlowTest : public QObject {
  Q_OBJECT

 public:
  explicit LiveFlowTest(std::shared_ptr<OfficeWatchdog> watchdog) : watchdog_(std::move(watchdog)) {}

 private:
  std::shared_ptr<OfficeWatchdog> watchdog_;
  QTemporaryDir folder;
  QString startDir;
  std::shared_ptr<LibreOfficeEngine> engine;
  std::unique_ptr<Wizard> wizard;

  QWidget* screen() const { return wizard->current(); }
  QString file(const QString& name) const { return folder.filePath("books/" + name); }
  // Whether the office has a document of the file open, as its user would see.
  static bool openInCalc(const QString& path) {
    LibreOfficeOptions options;
    options.pipeName = pipe();
    options.startOffice = false;
    OfficeConnection office(options);
    return isOpen(office, path.toStdString());
  }
  static std::string pipe() { return "vk_live_flow_" + std::to_string(::getpid()); }

  void openThroughTheScreen(const QString& name) {
    wizard = std::make_unique<Wizard>(engine);
    wizard->showInput();
    settle();
    chooseFile(screen(), name);
    click(screen(), "SSCommand1");
    QVERIFY(control(screen(), "cmdNext")->isVisible());
  }
  void readAndRun() {
    click(screen(), "cmdNext");
    click(screen(), "cmdRead");
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    click(screen(), "cmdNext");
    click(screen(), "SSCommand2");
    QVERIFY(control(screen(), "cmdBye")->isVisible());
  }

 private slots:
  void initTestCase() {
    QVERIFY(folder.isValid());
    startDir = QDir::currentPath();
    QVERIFY(QDir(folder.path()).mkdir("books"));
    for (const char* name : {"first.xlsx", "second.xlsx", "third.xlsx", "readonly.xlsx"})
      QVERIFY(QFile::copy(kSample, file(name)));
    QVERIFY(QFile::setPermissions(file("readonly.xlsx"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QDir::setCurrent(folder.filePath("books"));

    LibreOfficeOptions options;
    options.pipeName = pipe();
    options.profileFolder = folder.filePath("profile").toStdString();
    options.officeArguments = {"--headless", "--invisible"};
    options.watchdog = watchdog_;
    engine = std::make_shared<LibreOfficeEngine>(options);
  }
  void init() { MessageBox::clearShown(); }
  void cleanup() {
    wizard.reset();
    QCOMPARE(MessageBox::pendingAnswers(), 0);
  }
  void cleanupTestCase() {
    engine->finishUnattended();
    QDir::setCurrent(startDir);
  }

  void wholeFlowByMouseAndKeyboard() {
    const QByteArray onDisk = bytesOf(file("first.xlsx"));
    wizard = std::make_unique<Wizard>(engine);
    QSignalSpy finished(wizard.get(), &Wizard::finished);
    wizard->start();
    settle();
    control(screen(), "cmdNext")->setFocus();
    QTest::keyClick(control(screen(), "cmdNext"), Qt::Key_Return);
    settle();
    QCOMPARE(screen()->objectName(), QString("frmInput"));

    // Read-only: refused in words, and no way on.
    chooseFile(screen(), "readonly.xlsx");
    answerNextBox();
    click(screen(), "SSCommand1");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY2(MessageBox::shown().front().text.contains("read-only"), qPrintable(MessageBox::shown().front().text));
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    QVERIFY(control(screen(), "SSCommand1")->isEnabled());

    // The first Open starts LibreOffice, and the selection line says so meanwhile.
    ShownTexts line(control<QLabel>(screen(), "Label2"));
    chooseFile(screen(), "first.xlsx");
    click(screen(), "SSCommand1");
    QVERIFY2(line.texts.filter("LibreOffice is starting").size() > 0, qPrintable(line.texts.join(" | ")));
    QCOMPARE(caption(screen(), "Label2"), "Your selection is : " + file("first.xlsx") + " (LibreOffice)");
    QVERIFY(control(screen(), "cmdNext")->isVisible());

    click(screen(), "cmdNext");
    click(screen(), "cmdRead");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    // The user raises set 1's start threshold in Calc.
    Document doc = documentOf(*wizard);
    QVERIFY(doc.is());
    setNumber(doc, c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(1), 10);
    control(screen(), "cmdNext")->setFocus();
    QTest::keyClick(control(screen(), "cmdNext"), Qt::Key_Return);
    settle();
    pressAndCheck("SSCommand2");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QCOMPARE(cell(doc, c::kResultsSheet, c::kStartPercentResultRow, c::testColumn(1))->getValue(), 10.0);
    const double kla20 = cell(doc, c::kResultsSheet, c::summaryRow(1), c::kKLa20Column)->getValue();
    QCOMPARE(kla20, embeddedKLa20(folder.path(), 10));

    // "Bye!!": the results are in Calc only; not saving leaves them there.
    MessageBox::setNextAnswer(QMessageBox::No);
    click(screen(), "cmdBye");
    QCOMPARE(MessageBox::shown().size(), size_t(2));
    QCOMPARE(MessageBox::shown().back().icon, QMessageBox::Question);
    QVERIFY(MessageBox::shown().back().text.contains(file("first.xlsx")));
    QCOMPARE(finished.count(), 1);
    QVERIFY(openInCalc(file("first.xlsx")));
    QCOMPARE(cell(doc, c::kResultsSheet, c::kStartPercentResultRow, c::testColumn(1))->getValue(), 10.0);
    QCOMPARE(bytesOf(file("first.xlsx")), onDisk);
  }

  // "Start Over", saving when asked: the file itself holds the results then.
  void startOverSavesWhenAsked() {
    const QByteArray onDisk = bytesOf(file("second.xlsx"));
    openThroughTheScreen("second.xlsx");
    readAndRun();
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(screen(), "cmdStartOver");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    QVERIFY(bytesOf(file("second.xlsx")) != onDisk);
    // Read from the file itself: Calc still has the document open.
    const auto saved = readStoredCells(file("second.xlsx").toStdString(), c::kResultsSheet);
    QCOMPARE(std::stod(saved.at({c::kStartPercentResultRow, c::testColumn(1)}).value), 1.0);
    QCOMPARE(std::stod(saved.at({c::summaryRow(1), c::kKLa20Column}).value), embeddedKLa20(folder.path(), 1));
  }

  // Closed in Calc between the Reading and the Run: "Run!!" refuses, saying
  // what was lost and how to go on; "<<Back" and "Reading " read it anew.
  void workbookClosedAfterTheReading() {
    openThroughTheScreen("third.xlsx");
    click(screen(), "cmdNext");
    click(screen(), "cmdRead");
    click(screen(), "cmdNext");
    closeDocument(documentOf(*wizard));
    answerNextBox();
    click(screen(), "SSCommand2");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    const QString said = MessageBox::shown().front().text;
    QVERIFY2(said.contains("closed after the Reading") && said.contains("\"<<Back\"") && said.contains("\"Reading \""),
             qPrintable(said));
    QVERIFY(!openInCalc(file("third.xlsx")));
    QVERIFY(control(screen(), "SSCommand2")->isEnabled());
    QVERIFY(control(screen(), "cmdBye")->isHidden());
    QCOMPARE(caption(screen(), "Label1"), QString());

    click(screen(), "cmdBack");
    click(screen(), "cmdRead");
    click(screen(), "cmdNext");
    click(screen(), "SSCommand2");
    QVERIFY(control(screen(), "cmdBye")->isVisible());
    QCOMPARE(MessageBox::shown().size(), size_t(1));
  }

 private:
  void pressAndCheck(const char* name) {
    control(screen(), name)->setFocus();
    QTest::keyClick(control(screen(), name), Qt::Key_Return);
    settle();
    QVERIFY(control(screen(), "cmdBye")->isVisible());
  }
};

}  // namespace vk::test

int main(int argc, char** argv) {
  // Before Qt starts a thread: the watchdog is forked from this process.
  auto watchdog = std::make_shared<vk::OfficeWatchdog>();
  QApplication app(argc, argv);
  vk::test::LiveFlowTest test(watchdog);
  return QTest::qExec(&test, argc, argv);
}

#include "live_flow_test.moc"

// frmRun: its layout, the guards before a run, the Run command on the
// screen, the warning after a fit that did not converge, a fault during the
// run, the three ways off the screen, and the report of a finished run.

#include <sys/stat.h>

#include <QDir>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "MemoryFlow.h"
#include "export/Sha256.h"
#include "forms/DesktopBrowser.h"
#include "forms/SystemBeep.h"
#include "workbook/CellMap.h"

namespace vk::test {

namespace {

// Probe 2 lies on a straight line: its fit cannot converge.
TestData withAStraightLine() {
  TestData data = probes(1);
  data.sets.push_back({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
  return data;
}

}  // namespace

class RunTest : public QObject {
  Q_OBJECT

  std::unique_ptr<MemoryFlow> flow;
  std::vector<QUrl> opened;  // what the browser was asked to show
  bool browserStarts = true;

  QWidget* screen() const { return flow->screen(); }

  void startOn(const TestData& data) {
    flow = std::make_unique<MemoryFlow>(data);
    flow->read();
    flow->show(&Wizard::showRun);
  }
  void expectFinished() {
    QVERIFY(!control(screen(), "SSCommand2")->isEnabled());
    for (const char* name : {"cmdBye", "cmdStartOver", "cmdReport"}) {
      QVERIFY2(control(screen(), name)->isVisible(), name);
      QVERIFY2(control(screen(), name)->isEnabled(), name);
    }
    QVERIFY(control(screen(), "Label1")->isHidden());
    QVERIFY(control(screen(), "ProgressBar1")->isHidden());
    QVERIFY(control(screen(), "cmdBack")->isEnabled());
  }
  Variant resultCell(int row, int set) const {
    return flow->book->value(cells::kResultsSheet, row, cells::testColumn(set));
  }

 private slots:
  void init() {
    MessageBox::clearShown();
    opened.clear();
    browserStarts = true;
    DesktopBrowser::setHook([this](const QUrl& url) {
      opened.push_back(url);
      return browserStarts;
    });
    startOn(probes(2));
  }
  void cleanup() {
    flow.reset();
    QCOMPARE(MessageBox::pendingAnswers(), 0);
  }

  void layoutAndInitialState() {
    expectWindow(screen(), "The program is running...", QColor(192, 255, 255), 3696, 4032);
    expectLayout(screen(), {
                               {"Label1", "", {120, 240, 3612, 372}, 9.6},
                               {"SSCommand2", "Run!!", {1320, 840, 972, 852}, 13.8},
                               {"cmdBack", "<<Back", {120, 2280, 1092, 492}, 9.6},
                               {"cmdBye", "Bye!!", {2520, 2280, 972, 492}, 9.6},
                               {"cmdStartOver", "Start Over", {720, 3000, 1212, 492}, 9.6},
                           });
    QCOMPARE(control(screen(), "ProgressBar1")->geometry(), pixelRect({360, 1800, 3012, 252}));
    QVERIFY(control(screen(), "ProgressBar1")->isHidden());
    QVERIFY(control(screen(), "SSCommand2")->isEnabled());
    auto* timer = control<QTimer>(screen(), "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 800);
    QVERIFY(control(screen(), "cmdBack")->hasFocus());
    QCOMPARE(control(screen(), "SSCommand2")->cursor().shape(), Qt::ArrowCursor);
    for (const char* name : {"cmdBack", "cmdBye", "cmdStartOver"})
      QVERIFY2(control(screen(), name)->cursor().shape() == Qt::BitmapCursor, name);

    // "Report" stands in free space of the client area, clear of every
    // other control, and waits for a run.
    expectLayout(screen(), {{"cmdReport", "Report", {2280, 3000, 1212, 492}, 9.6}});
    const QRect report = control(screen(), "cmdReport")->geometry();
    QVERIFY(screen()->rect().contains(report));
    for (const char* name : {"Label1", "SSCommand2", "ProgressBar1", "cmdBack", "cmdBye", "cmdStartOver"})
      QVERIFY2(!report.intersects(control(screen(), name)->geometry()), name);
    QVERIFY(control(screen(), "cmdReport")->isHidden());
    QVERIFY(!control(screen(), "cmdReport")->isEnabled());
  }

  // Before a run has finished, "Bye!!", "Start Over" and "Report" cannot be used.
  void byeAndStartOverWaitForTheRun() {
    for (const char* name : {"cmdBye", "cmdStartOver", "cmdReport"}) {
      QVERIFY2(control(screen(), name)->isHidden(), name);
      QVERIFY2(!control(screen(), name)->isEnabled(), name);
      QTest::mouseClick(control<QPushButton>(screen(), name), Qt::LeftButton);
      settle();
    }
    QVERIFY(!flow->wizard->ended());
    QCOMPARE(screen()->objectName(), QString("frmRun"));
    QVERIFY(flow->module().DataBook);
    QVERIFY(opened.empty());
  }

  void runWritesTheResultsAndOffersTheWayOut() {
    const int beeps = systemBeepCount();
    click(screen(), "SSCommand2");
    control(screen(), "cmdBack")->setFocus();
    for (const char* next : {"cmdBye", "cmdStartOver", "cmdReport", "cmdBack"}) {  // "Run!!" is now disabled
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QVERIFY2(control(screen(), next)->hasFocus(), next);
    }
    QCOMPARE(MessageBox::shown().size(), size_t(0));
    QCOMPARE(systemBeepCount(), beeps + 1);
    expectFinished();
    QVERIFY(!control<QTimer>(screen(), "Timer1")->isActive());
    QCOMPARE(flow->book->shownSheet(), cells::kResultsSheet);
    QVERIFY(flow->book->log().back().op == MemoryWorkbook::Op::Commit);
    bool redrawn = false;
    for (const auto& record : flow->book->log())
      redrawn |= record.op == MemoryWorkbook::Op::RunMacro && record.text == "Redraw";
    QVERIFY(redrawn);
    QCOMPARE(resultCell(cells::kStartPercentResultRow, 2), Variant::single(1));
  }

  // With more than two data sets the bar shows the sets as they are fitted,
  // and the status line shows before the first cell is read.
  void statusAndProgressShowWhileRunning() {
    startOn(probes(3));
    auto* bar = control<QProgressBar>(screen(), "ProgressBar1");
    PaintCounter counter;
    counter.watch(control(screen(), "Label1"));
    int statusPaints = -1;
    std::vector<int> values;
    flow->book->onRead = [&] {
      if (statusPaints < 0) statusPaints = counter.painted["Label1"];
    };
    flow->book->onWrite = [&] {
      if (bar->isVisible() && bar->maximum() == 3) values.push_back(bar->value());
    };
    click(screen(), "SSCommand2");
    QCOMPARE(caption(screen(), "Label1"), QString("Be patient!!"));
    QVERIFY(statusPaints > 0);
    QVERIFY(!values.empty());
    QCOMPARE(values.front(), 1);
    QCOMPARE(values.back(), 3);
    expectFinished();
  }

  void fitThatDoesNotConvergeIsReportedInABox() {
    startOn(withAStraightLine());
    answerNextBox();
    click(screen(), "SSCommand2");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains("data set 2"));
    QCOMPARE(MessageBox::shown().front().icon, QMessageBox::Warning);
    QCOMPARE(MessageBox::shown().front().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    expectFinished();
  }

  // A threshold that is not a number: the fault is shown, the program goes
  // on, and after mending the workbook "Run!!" works.
  void faultDuringTheRunIsShownAndRunStaysUsable() {
    flow->book->setText(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(2), "ten");
    answerNextBox();
    click(screen(), "SSCommand2");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains("G45"));
    QVERIFY(!flow->wizard->ended());
    QCOMPARE(screen()->objectName(), QString("frmRun"));
    QVERIFY(control(screen(), "SSCommand2")->isEnabled());
    QVERIFY(control(screen(), "cmdBye")->isHidden());
    QVERIFY(control(screen(), "cmdReport")->isHidden());
    QVERIFY(!control(screen(), "cmdReport")->isEnabled());

    flow->book->write(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(2), Integer(1));
    click(screen(), "SSCommand2");
    expectFinished();
  }

  // "<<Back" leads to an unread frmRead; the data read stay in the module.
  void backLeadsToAnUnreadReadingScreen() {
    click(screen(), "cmdBack");
    QCOMPARE(screen()->objectName(), QString("frmRead"));
    QCOMPARE(screensAlive(), 1);
    for (const char* name : {"cmdNext", "ProgressBar1", "Label3"}) QVERIFY2(control(screen(), name)->isHidden(), name);
    QVERIFY(control(screen(), "cmdRead")->isEnabled());
    QCOMPARE(int(flow->module().NumSets), 2);
    QVERIFY(flow->module().DataBook);
  }

  // "Start Over" releases the workbook; the results stay in it.
  void startOverReleasesTheWorkbookAndKeepsTheResults() {
    click(screen(), "SSCommand2");
    click(screen(), "cmdStartOver");
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    QCOMPARE(screensAlive(), 1);
    QVERIFY(!flow->module().DataBook);
    QVERIFY(!flow->module().FileBook);
    QCOMPARE(caption(screen(), "Label2"), QString());
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    QCOMPARE(resultCell(cells::kStartPercentResultRow, 1), Variant::single(1));
    QCOMPARE(int(flow->module().NumSets), 2);
  }

  void byeEndsTheProgram() {
    QSignalSpy finished(flow->wizard.get(), &Wizard::finished);
    click(screen(), "SSCommand2");
    click(screen(), "cmdBye");
    QCOMPARE(finished.count(), 1);
    QVERIFY(flow->wizard->ended());
    QVERIFY(!flow->wizard->current());
    QCOMPARE(screensAlive(), 0);
  }

  void shownAgainItStartsBeforeTheRun() {
    click(screen(), "SSCommand2");
    flow->show(&Wizard::showRun);
    QVERIFY(control(screen(), "SSCommand2")->isEnabled());
    for (const char* name : {"cmdBye", "cmdStartOver", "cmdReport", "ProgressBar1"})
      QVERIFY2(control(screen(), name)->isHidden(), name);
  }

  // The whole way to a report, as a user clicks it: "Reading ", "Next>>",
  // "Run!!", "Report". The workbook is in memory under a path in a real
  // folder, where a file stands for it as the Reading found it.
  void startInFolder(const QString& folder) {
    const QString workbook = folder + "/test.xlsx";
    QFile file(workbook);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("the workbook as read") > 0);
    file.close();
    flow = std::make_unique<MemoryFlow>(probes(2), workbook.toStdString());
    flow->show(&Wizard::showRead);
    click(screen(), "cmdRead");
    click(screen(), "cmdNext");
    QCOMPARE(screen()->objectName(), QString("frmRun"));
    click(screen(), "SSCommand2");
  }

  void reportIsWrittenBesideTheWorkbookAndShownInTheBrowser() {
    QTemporaryDir folder;
    startInFolder(folder.path());
    click(screen(), "cmdReport");
    const QString report = folder.filePath("test.xlsx.report.html");
    QCOMPARE(MessageBox::shown().size(), size_t(0));
    QCOMPARE(opened, std::vector<QUrl>{QUrl::fromLocalFile(report)});
    QFile file(report);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray html = file.readAll();
    QVERIFY(html.startsWith("<!DOCTYPE html>"));
    QVERIFY(html.contains(QByteArray::fromStdString(exporter::sha256Hex("the workbook as read"))));
    QVERIFY(html.contains(">test.xlsx<"));
    // The workbook stays as it was, and no temporary file is left.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"test.xlsx", "test.xlsx.report.html"}));
    QFile workbook(folder.filePath("test.xlsx"));
    QVERIFY(workbook.open(QIODevice::ReadOnly));
    QCOMPARE(workbook.readAll(), QByteArray("the workbook as read"));

    // Without a browser the report is still written, and the box says where.
    browserStarts = false;
    answerNextBox();
    click(screen(), "cmdReport");
    QCOMPARE(opened.size(), size_t(2));
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains(report));
  }

  // Read-only by its permission bits, which stop this program even when it
  // runs as the superuser, whom the bits themselves do not stop.
  void reportRefusesAReadOnlyFolder() {
    QTemporaryDir folder;
    startInFolder(folder.path());
    QVERIFY(::chmod(folder.path().toLocal8Bit().constData(), 0555) == 0);
    answerNextBox();
    click(screen(), "cmdReport");
    ::chmod(folder.path().toLocal8Bit().constData(), 0755);
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY2(MessageBox::shown().front().text.contains("read-only"), qPrintable(MessageBox::shown().front().text));
    QVERIFY(MessageBox::shown().front().text.contains(folder.path()));
    QVERIFY(opened.empty());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"test.xlsx"}));
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::RunTest)
#include "run_test.moc"

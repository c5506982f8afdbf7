// frmRead: its layout, the Reading command on the screen, what the user sees
// while it works, a fault during it, and the moves back and on.

#include <QProgressBar>

#include "MemoryFlow.h"
#include "forms/SystemBeep.h"
#include "workbook/CellMap.h"

namespace vk::test {

class ReadTest : public QObject {
  Q_OBJECT

  std::unique_ptr<MemoryFlow> flow;

  QWidget* screen() const { return flow->screen(); }

  void expectNotYetRead() {
    QVERIFY(control(screen(), "cmdRead")->isEnabled());
    for (const char* name : {"cmdNext", "Label3", "ProgressBar1"}) QVERIFY2(control(screen(), name)->isHidden(), name);
    QVERIFY(!control(screen(), "cmdNext")->isEnabled());
  }

 private slots:
  void init() {
    MessageBox::clearShown();
    flow = std::make_unique<MemoryFlow>(probes(2));
    flow->show(&Wizard::showRead);
  }
  void cleanup() {
    flow.reset();
    QCOMPARE(MessageBox::pendingAnswers(), 0);
  }

  void layoutAndInitialState() {
    expectWindow(screen(), "data Reading Form", QColor(192, 255, 255), 4020, 3492);
    expectLayout(screen(), {
                               {"Label1", "", {600, 240, 2892, 252}, 7.8},
                               {"cmdRead", "Reading ", {1800, 1080, 1215, 855}, 12},
                               {"Label3", "Wait...", {360, 1440, 972, 372}, 12},
                               {"cmdNext", "Next>>", {1920, 2280, 975, 495}, 7.8},
                               {"cmdBack", "<<Back", {240, 2760, 855, 495}, 7.8},
                           });
    auto* bar = control<QProgressBar>(screen(), "ProgressBar1");
    QCOMPARE(bar->geometry(), pixelRect({360, 600, 3252, 252}));
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    expectNotYetRead();
    QVERIFY(control(screen(), "cmdRead")->hasFocus());
    for (const char* name : {"cmdRead", "cmdNext", "cmdBack"})
      QVERIFY2(control(screen(), name)->cursor().shape() == Qt::BitmapCursor, name);
  }

  void readingOpensTheWayOn() {
    const int beeps = systemBeepCount();
    click(screen(), "cmdRead");
    QCOMPARE(systemBeepCount(), beeps + 2);
    QVERIFY(!control(screen(), "cmdRead")->isEnabled());
    QVERIFY(control(screen(), "cmdNext")->isVisible());
    QVERIFY(control(screen(), "cmdNext")->isEnabled());
    for (const char* name : {"Label1", "Label3", "ProgressBar1"}) QVERIFY2(control(screen(), name)->isHidden(), name);
    QCOMPARE(int(flow->module().NumSets), 2);
    QCOMPARE(flow->book->value(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(2)),
             Variant(Integer(1)));
  }

  // The handler does not run the event loop: by the time the command reads
  // its first cell, the status line and "Wait..." it has just shown must
  // already have been painted.
  void statusIsPaintedBeforeTheCommandGoesOn() {
    PaintCounter counter;
    for (const char* name : {"Label1", "Label3"}) counter.watch(control(screen(), name));
    std::map<QString, int> paintedAtFirstRead;
    flow->book->onRead = [&] {
      if (paintedAtFirstRead.empty()) paintedAtFirstRead = counter.painted;
    };
    click(screen(), "cmdRead");
    QVERIFY(paintedAtFirstRead["Label1"] > 0);
    QVERIFY(paintedAtFirstRead["Label3"] > 0);
  }

  // A condition that is not a number: the fault is shown, nothing moves on,
  // and once the workbook is mended "Reading " works.
  void faultDuringReadingIsShownAndReadingStaysUsable() {
    flow->book->setText(cells::kTestSheet, cells::kWaterTempRow, cells::kConditionColumn, "warm");
    answerNextBox();
    click(screen(), "cmdRead");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains("C9"));
    QCOMPARE(MessageBox::shown().front().icon, QMessageBox::Warning);
    QCOMPARE(screen()->objectName(), QString("frmRead"));
    QVERIFY(control(screen(), "cmdRead")->isEnabled());
    QVERIFY(control(screen(), "cmdNext")->isHidden());

    flow->book->write(cells::kTestSheet, cells::kWaterTempRow, cells::kConditionColumn, Variant::dbl(15));
    click(screen(), "cmdRead");
    QVERIFY(control(screen(), "cmdNext")->isVisible());
  }

  // Input that cannot be a test: the box names the cell, and the Reading
  // has written nothing into the workbook.
  void inputThatCannotBeATestIsRefusedBeforeAnythingIsWritten() {
    flow->book->write(cells::kTestSheet, cells::readingRow(4), cells::concColumn(2), Variant());
    flow->book->clearLog();
    answerNextBox();
    click(screen(), "cmdRead");
    QCOMPARE(MessageBox::shown().size(), size_t(1));
    QVERIFY(MessageBox::shown().front().text.contains("sheet 1, cell I10 (reading 4 of data set 2) is blank"));
    for (const auto& record : flow->book->log())
      QVERIFY(record.op != MemoryWorkbook::Op::Write && record.op != MemoryWorkbook::Op::Clear);
    QVERIFY(control(screen(), "cmdNext")->isHidden());
  }

  // "<<Back" keeps the workbook attached, but the choice starts anew.
  void backKeepsTheWorkbookButChoosesAnew() {
    const auto attached = flow->module().DataBook;
    click(screen(), "cmdBack");
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    QCOMPARE(screensAlive(), 1);
    QCOMPARE(flow->module().DataBook, attached);
    QCOMPARE(flow->module().FileBook, attached);
    QCOMPARE(caption(screen(), "Label2"), QString());
    QVERIFY(control(screen(), "cmdNext")->isHidden());
    QVERIFY(control(screen(), "SSCommand1")->isEnabled());
  }

  void nextDisablesItselfAndLeadsToTheRun() {
    click(screen(), "cmdRead");
    QTest::mouseClick(control<QPushButton>(screen(), "cmdNext"), Qt::LeftButton);
    QVERIFY(!control(screen(), "cmdNext")->isEnabled());
    settle();
    QCOMPARE(screen()->objectName(), QString("frmRun"));
    QCOMPARE(screensAlive(), 1);
  }

  void shownAgainItStartsUnread() {
    click(screen(), "cmdRead");
    flow->show(&Wizard::showRead);
    expectNotYetRead();
    QCOMPARE(screensAlive(), 1);
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::ReadTest)
#include "read_test.moc"

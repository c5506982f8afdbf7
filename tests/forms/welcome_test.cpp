// frmWelcome: its layout, the blinking title and the way on.

#include "ScreenTest.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

class WelcomeTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Wizard> wizard;

  QWidget* screen() const { return wizard->current(); }

 private slots:
  void init() {
    wizard = std::make_unique<Wizard>(std::make_shared<MemoryEngine>());
    wizard->start();
    settle();
  }
  void cleanup() { wizard.reset(); }

  void startsWithTheWelcomeScreenAlone() {
    QCOMPARE(screen()->objectName(), QString("frmWelcome"));
    QVERIFY(screen()->isVisible());
    QCOMPARE(screensAlive(), 1);
  }

  void layout() {
    expectWindow(screen(), "Welcome !!", QColor(0, 192, 192), 7392, 4668);
    expectLayout(screen(), {
                               {"Label1", "Welcome to VELM KALIX", {1080, 120, 5415, 495}, 18},
                               {"Label6", {}, {240, 720, 6615, 495}, 18},
                               {"Label2", "By", {2640, 1440, 735, 615}, 18},
                               {"Label3", {}, {480, 2400, 4095, 495}, 18},
                               {"Label4", {}, {480, 3120, 4095, 495}, 18},
                               {"Label5", {}, {480, 3840, 3015, 495}, 18},
                               {"cmdNext", "Next>>", {4560, 3840, 975, 495}, 9.6},
                           });
    QVERIFY(caption(screen(), "Label6").startsWith('(') && caption(screen(), "Label6").endsWith(')'));
    QVERIFY(control(screen(), "cmdNext")->hasFocus());
    QCOMPARE(control(screen(), "cmdNext")->cursor().shape(), Qt::BitmapCursor);
  }

  // The title is visible at first, hidden after one interval, visible after
  // two; nothing else on the screen blinks.
  void titleBlinksEveryInterval() {
    auto* timer = control<QTimer>(screen(), "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 800);
    const char* others[] = {"Label2", "Label3", "Label4", "Label5", "Label6", "cmdNext"};
    QWidget* title = control(screen(), "Label1");

    QVERIFY(title->isVisible());
    tick(timer);
    QVERIFY(!title->isVisible());
    for (const char* name : others) QVERIFY2(control(screen(), name)->isVisible(), name);
    tick(timer);
    QVERIFY(title->isVisible());
    tick(timer);
    QVERIFY(!title->isVisible());
    for (const char* name : others) QVERIFY2(control(screen(), name)->isVisible(), name);
  }

  // The real timer, not a simulated tick, hides the title.
  void timerDrivesTheBlink() {
    QWidget* title = control(screen(), "Label1");
    QTRY_VERIFY_WITH_TIMEOUT(!title->isVisible(), 10000);
  }

  void nextLeadsToTheWorkbookChoiceAndDiscardsTheWelcome() {
    QPointer<QWidget> welcome = screen();
    click(screen(), "cmdNext");
    QVERIFY(welcome.isNull());
    QCOMPARE(screen()->objectName(), QString("frmInput"));
    QCOMPARE(screensAlive(), 1);
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::WelcomeTest)
#include "welcome_test.moc"

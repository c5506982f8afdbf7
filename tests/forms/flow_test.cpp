// The whole wizard on a real workbook file with the embedded engine: from
// the welcome screen through Open, Reading, Run, Start Over and a second
// analysis with its report to "Bye!!", one screen at a time, and the results
// found in the saved file. Also: closing a screen through its frame ends the program, and
// the wizard names its desktop entry.

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "ScreenTest.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "forms/Application.h"
#include "forms/DesktopBrowser.h"
#include "module1/Fault.h"
#include "support/RecordingFeedback.h"
#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::test {

namespace {

const QString kSample = QStringLiteral(VK_SOURCE_DIR "/templates/sample.xlsx");

// What a cell holds, as text, read from the file as saved.
QString cellText(Workbook& book, int sheet, int row, int column) {
  try {
    return QString::number(book.readNumber(sheet, row, column), 'g', 17);
  } catch (const Fault&) {
    return "(text)";
  }
}

// Every cell of the areas the analysis writes on sheets 2 and 3.
QStringList writtenAreas(const QString& path) {
  XlsxEngine engine;
  std::shared_ptr<Workbook> book = engine.bind(path.toStdString());
  QStringList cells;
  for (int row = 1; row <= 60; ++row)
    for (int column = 1; column <= 49; ++column)
      for (int sheet : {cells::kAnalysisSheet, cells::kResultsSheet}) cells << cellText(*book, sheet, row, column);
  return cells;
}

// The same analysis straight through the commands, with no screen.
void analyseWithoutScreens(const QString& path) {
  Module1 m;
  m.Engine = std::make_shared<XlsxEngine>();
  RecordingFeedback quiet;
  const QFileInfo file(path);
  OpenWorkbook(m, quiet, file.absolutePath().toStdString(), file.fileName().toStdString());
  ReadDataSets(m, quiet);
  RunAnalysis(m, quiet);
}

}  // namespace

class FlowTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder;
  QString startDir;

 private slots:
  void initTestCase() {
    startDir = QDir::currentPath();
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir("wizard"));
    QVERIFY(QDir(folder.path()).mkdir("commands"));
    QVERIFY(QFile::copy(kSample, folder.filePath("wizard/sample.xlsx")));
    QVERIFY(QFile::copy(kSample, folder.filePath("commands/sample.xlsx")));
  }
  void cleanupTestCase() { QDir::setCurrent(startDir); }

  void wholeFlowFromWelcomeToBye() {
    QDir::setCurrent(folder.filePath("wizard"));
    Wizard wizard(std::make_shared<XlsxEngine>());
    QSignalSpy finished(&wizard, &Wizard::finished);
    auto at = [&](const char* name) {
      QCOMPARE(wizard.current()->objectName(), QString(name));
      QCOMPARE(screensAlive(), 1);
    };
    wizard.start();
    settle();
    at("frmWelcome");
    click(wizard.current(), "cmdNext");

    // Two analyses of the same workbook, the second after "Start Over".
    for (int analysis = 1; analysis <= 2; ++analysis) {
      at("frmInput");
      chooseFile(wizard.current(), "sample.xlsx");
      click(wizard.current(), "SSCommand1");
      QVERIFY(wizard.module().DataBook);
      click(wizard.current(), "cmdNext");
      at("frmRead");
      click(wizard.current(), "cmdRead");
      click(wizard.current(), "cmdNext");
      at("frmRun");
      click(wizard.current(), "SSCommand2");
      QVERIFY(control(wizard.current(), "cmdBye")->isVisible());
      if (analysis == 1) {
        click(wizard.current(), "cmdStartOver");
        QVERIFY(!wizard.module().DataBook && !wizard.module().FileBook);
      }
    }
    // The report, beside the workbook, changes none of its cells (checked below).
    std::vector<QUrl> opened;
    DesktopBrowser::setHook([&](const QUrl& url) {
      opened.push_back(url);
      return true;
    });
    click(wizard.current(), "cmdReport");
    DesktopBrowser::setHook({});
    const QString report = folder.filePath("wizard/sample.xlsx.report.html");
    QCOMPARE(opened, std::vector<QUrl>{QUrl::fromLocalFile(report)});
    QVERIFY(QFileInfo(report).size() > 0);
    QCOMPARE(MessageBox::shown().size(), size_t(0));
    click(wizard.current(), "cmdBye");
    QCOMPARE(finished.count(), 1);
    QCOMPARE(screensAlive(), 0);

    // The file holds what the commands write on their own, and that is an analysis.
    analyseWithoutScreens(folder.filePath("commands/sample.xlsx"));
    const QStringList expected = writtenAreas(folder.filePath("commands/sample.xlsx"));
    const QStringList untouched = writtenAreas(kSample);
    QVERIFY(expected != untouched);
    QCOMPARE(writtenAreas(folder.filePath("wizard/sample.xlsx")), expected);
  }

  void closingTheScreenThroughItsFrameEndsTheProgram() {
    Wizard wizard(std::make_shared<XlsxEngine>());
    QSignalSpy finished(&wizard, &Wizard::finished);
    wizard.start();
    settle();
    wizard.current()->close();
    settle();
    QCOMPARE(finished.count(), 1);
    QVERIFY(wizard.ended());
    QCOMPARE(screensAlive(), 0);
  }

  // The desktop shows the entry's icon for the windows of the program whose
  // desktop file name matches an installed entry.
  void wizardNamesItsDesktopEntry() {
    describeApplication();
    QCOMPARE(QGuiApplication::desktopFileName(), QString(kDesktopId));
    QVERIFY(QFile::exists(QStringLiteral(VK_SOURCE_DIR "/apps/velm-kalix/") + kDesktopId + ".desktop"));
    QVERIFY(!QApplication::windowIcon().isNull());
  }
};

}  // namespace vk::test

QTEST_MAIN(vk::test::FlowTest)
#include "flow_test.moc"

#include "forms/frmRun.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "commands/RunCommand.h"
#include "forms/DesktopBrowser.h"
#include "forms/MessageBox.h"
#include "forms/ProgressBar.h"
#include "forms/TestReport.h"
#include "forms/Wizard.h"

namespace vk {

frmRun::frmRun(Wizard& wizard)
    : Screen("frmRun", "The program is running...", QColor(192, 255, 255), 3696, 4032), wizard_(wizard) {
  Label1 = addLabel("Label1", "", {120, 240, 3612, 372}, 9.6);
  SSCommand2 = addButton("SSCommand2", "Run!!", {1320, 840, 972, 852}, 13.8, std::nullopt);
  ProgressBar1 = addProgressBar(this, {360, 1800, 3012, 252});
  cmdBack = addButton("cmdBack", "<<Back", {120, 2280, 1092, 492}, 9.6, Pointer::BlueLeftArrow);
  cmdBye = addButton("cmdBye", "Bye!!", {2520, 2280, 972, 492}, 9.6, Pointer::HandsShaking);
  cmdBye->setEnabled(false);
  cmdBye->setVisible(false);
  cmdStartOver = addButton("cmdStartOver", "Start Over", {720, 3000, 1212, 492}, 9.6, Pointer::BlackLeftArrow);
  cmdStartOver->setEnabled(false);
  cmdStartOver->setVisible(false);
  // Beside "Start Over", under "Bye!!": free space that moves nothing.
  cmdReport = addButton("cmdReport", "Report", {2280, 3000, 1212, 492}, 9.6, std::nullopt);
  cmdReport->setEnabled(false);
  cmdReport->setVisible(false);
  setFocusOrder({cmdBack, cmdBye, cmdStartOver, SSCommand2, cmdReport});

  // Runs from creation; the Run command switches it on and off, and a tick
  // does nothing.
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(800);
  connect(Timer1, &QTimer::timeout, this, &frmRun::Timer1_Timer);
  Timer1->start();

  feedback_.bind(Control::Label1, Label1);
  feedback_.bindProgressBar(ProgressBar1);
  feedback_.bindTimer(Timer1);
  feedback_.bind(Control::SSCommand2, SSCommand2);
  feedback_.bind(Control::cmdBye, cmdBye);
  feedback_.bind(Control::cmdStartOver, cmdStartOver);

  connect(SSCommand2, &QPushButton::clicked, this, &frmRun::SSCommand2_Click);
  connect(cmdBack, &QPushButton::clicked, this, &frmRun::cmdBack_Click);
  connect(cmdStartOver, &QPushButton::clicked, this, &frmRun::cmdStartOver_Click);
  connect(cmdBye, &QPushButton::clicked, this, &frmRun::cmdBye_Click);
  connect(cmdReport, &QPushButton::clicked, this, &frmRun::cmdReport_Click);
  Form_Load();
}

void frmRun::Form_Load() { ProgressBar1->setVisible(false); }

// The report is offered once a run has finished, like "Start Over" and "Bye!!".
void frmRun::SSCommand2_Click() {
  command([this] {
    lastRun_ = RunAnalysis(wizard_.module(), feedback_);
    cmdReport->setEnabled(true);
    cmdReport->setVisible(true);
  });
}

void frmRun::cmdBack_Click() { wizard_.showRead(); }

void frmRun::afterFault() {
  Timer1->stop();
  Label1->clear();
  Label1->setVisible(true);
  ProgressBar1->setVisible(false);
  SSCommand2->setEnabled(true);
  for (QPushButton* way : {cmdBye, cmdStartOver}) {
    way->setEnabled(false);
    way->setVisible(false);
  }
}

// Both let go of the workbook: first the offer to save what only the
// spreadsheet program holds.
void frmRun::cmdStartOver_Click() {
  if (wizard_.offerToSave(this)) wizard_.startOver();
}

void frmRun::cmdBye_Click() {
  if (wizard_.offerToSave(this)) wizard_.bye();
}

void frmRun::Timer1_Timer() {}

void frmRun::cmdReport_Click() {
  guarded([this] {
    if (!lastRun_) return;
    const std::string path =
        writeTestReport(wizard_.module(), *lastRun_, wizard_.reading().value_or(ReadingForReport{}));
    if (!DesktopBrowser::open(QUrl::fromLocalFile(QString::fromStdString(path))))
      MessageBox::exclamation(this, QString::fromStdString("The report is written to " + path +
                                                           ", but no browser could be started to show it."));
  });
}

}  // namespace vk

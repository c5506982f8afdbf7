#include "forms/frmRead.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "commands/ReadingCommand.h"
#include "forms/ProgressBar.h"
#include "forms/TestReport.h"
#include "forms/Wizard.h"

namespace vk {

frmRead::frmRead(Wizard& wizard)
    : Screen("frmRead", "data Reading Form", QColor(192, 255, 255), 4020, 3492), wizard_(wizard) {
  Label1 = addLabel("Label1", "", {600, 240, 2892, 252}, 7.8);
  ProgressBar1 = addProgressBar(this, {360, 600, 3252, 252});
  cmdRead = addButton("cmdRead", "Reading ", {1800, 1080, 1215, 855}, 12, Pointer::HandWriting);
  Label3 = addLabel("Label3", "Wait...", {360, 1440, 972, 372}, 12);
  Label3->setVisible(false);
  cmdNext = addButton("cmdNext", "Next>>", {1920, 2280, 975, 495}, 7.8, Pointer::HandPointingRight);
  cmdNext->setEnabled(false);
  cmdNext->setVisible(false);
  cmdBack = addButton("cmdBack", "<<Back", {240, 2760, 855, 495}, 7.8, Pointer::HandPointingLeft);
  setFocusOrder({cmdRead, cmdBack, cmdNext});

  feedback_.bind(Control::Label1, Label1);
  feedback_.bind(Control::Label3, Label3);
  feedback_.bindProgressBar(ProgressBar1);
  feedback_.bind(Control::cmdRead, cmdRead);
  feedback_.bind(Control::cmdNext, cmdNext);

  connect(cmdRead, &QPushButton::clicked, this, &frmRead::cmdRead_Click);
  connect(cmdBack, &QPushButton::clicked, this, &frmRead::cmdBack_Click);
  connect(cmdNext, &QPushButton::clicked, this, &frmRead::cmdNext_Click);
  Form_Load();
}

void frmRead::Form_Load() { ProgressBar1->setVisible(false); }

// Keeps the Reading's summary and the workbook's SHA-256 as it read it for
// the test report of a later run.
void frmRead::cmdRead_Click() {
  command([this] {
    Module1& m = wizard_.module();
    wizard_.reading().reset();
    std::string sha256 = workbookSha256(m.WorkbookPath);
    ReadingSummary summary = ReadDataSets(m, feedback_);
    wizard_.reading() = ReadingForReport{std::move(summary), std::move(sha256)};
  });
}

void frmRead::afterFault() {
  Label1->clear();
  Label1->setVisible(true);
  Label3->setVisible(false);
  ProgressBar1->setVisible(false);
  cmdNext->setEnabled(false);
  cmdNext->setVisible(false);
  cmdRead->setEnabled(true);
}

void frmRead::cmdBack_Click() { wizard_.showInput(); }

// Disables itself before anything else, so a second click cannot move twice.
void frmRead::cmdNext_Click() {
  cmdNext->setEnabled(false);
  wizard_.showRun();
}

}  // namespace vk

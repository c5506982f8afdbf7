#pragma once
// The run screen: "Run!!" fits every data set and writes the results; then
// "Start Over" returns to the workbook choice, "Bye!!" ends the program and
// "Report" writes the test report beside the workbook and shows it in the
// desktop's browser. "<<Back" returns to the data-reading screen at any time.

#include <optional>

#include "commands/RunCommand.h"
#include "forms/Screen.h"
#include "forms/ScreenFeedback.h"

class QProgressBar;
class QTimer;

namespace vk {

class Wizard;

class frmRun : public Screen {
  Q_OBJECT

 public:
  explicit frmRun(Wizard& wizard);

 protected:
  // Not busy, not finished: the timer off, the status line empty, the
  // progress bar hidden, "Run!!" usable again, "Bye!!" and "Start Over" hidden.
  void afterFault() override;

 private:
  void Form_Load();
  void SSCommand2_Click();
  void cmdBack_Click();
  void cmdStartOver_Click();
  void cmdBye_Click();
  void cmdReport_Click();
  void Timer1_Timer();

  Wizard& wizard_;
  ScreenFeedback feedback_{this};
  QLabel* Label1;
  QPushButton* SSCommand2;
  QProgressBar* ProgressBar1;
  QPushButton* cmdBack;
  QPushButton* cmdBye;
  QPushButton* cmdStartOver;
  QTimer* Timer1;
  QPushButton* cmdReport;
  std::optional<RunSummary> lastRun_;  // of the run that finished on this screen
};

}  // namespace vk

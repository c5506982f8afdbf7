#pragma once
// The run screen: "Run!!" fits every data set and writes the results; then
// "Start Over" returns to the workbook choice and "Bye!!" ends the program.
// "<<Back" returns to the data-reading screen at any time.

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

 private:
  void Form_Load();
  void SSCommand2_Click();
  void cmdBack_Click();
  void cmdStartOver_Click();
  void cmdBye_Click();
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
};

}  // namespace vk

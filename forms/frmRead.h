#pragma once
// The data-reading screen: "Reading " reads the test and runs the initial
// analysis; "Next>>" appears once it has succeeded; "<<Back" returns to the
// workbook choice.

#include "forms/Screen.h"
#include "forms/ScreenFeedback.h"

class QProgressBar;

namespace vk {

class Wizard;

class frmRead : public Screen {
  Q_OBJECT

 public:
  explicit frmRead(Wizard& wizard);

 protected:
  // Not busy, not read: "Wait...", the progress bar and the status line gone,
  // "Reading " usable again and "Next>>" hidden.
  void afterFault() override;

 private:
  void Form_Load();
  void cmdRead_Click();
  void cmdBack_Click();
  void cmdNext_Click();

  Wizard& wizard_;
  ScreenFeedback feedback_{this};
  QLabel* Label1;
  QProgressBar* ProgressBar1;
  QPushButton* cmdRead;
  QLabel* Label3;
  QPushButton* cmdNext;
  QPushButton* cmdBack;
};

}  // namespace vk

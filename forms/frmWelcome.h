#pragma once
// The welcome screen: the program's name, blinking, its descriptive name
// and credits, and "Next>>" to the workbook choice. Controls keep the names
// the screens are known by.

#include "forms/Screen.h"

class QTimer;

namespace vk {

class Wizard;

class frmWelcome : public Screen {
  Q_OBJECT

 public:
  explicit frmWelcome(Wizard& wizard);

 private:
  void Timer1_Timer();
  void cmdNext_Click();

  Wizard& wizard_;
  QLabel* Label1;
  QPushButton* cmdNext;
  QTimer* Timer1;
};

}  // namespace vk

#pragma once
// The workbook-choice screen: drive, directory and file lists, the selection
// line, "Open" and, once a workbook is open, "Next >>".

#include "forms/Screen.h"
#include "forms/ScreenFeedback.h"

namespace vk {

class DirList;
class DriveList;
class FileList;
class Wizard;

class frmInput : public Screen {
  Q_OBJECT

 public:
  explicit frmInput(Wizard& wizard);

 protected:
  // Still choosing: the lists and "Open" usable, "Next >>" hidden.
  void afterFault() override;

 private:
  void drvChange_Change();
  void dirLook_Change();
  void filFind_Click();
  void filFind_DblClick();
  void SSCommand1_Click();
  void cmdNext_Click();
  void showSelection(const QString& choice);

  Wizard& wizard_;
  ScreenFeedback feedback_{this};
  QLabel* Label2;
  DriveList* drvChange;
  DirList* dirLook;
  FileList* filFind;
  QPushButton* SSCommand1;
  QPushButton* cmdNext;
};

}  // namespace vk

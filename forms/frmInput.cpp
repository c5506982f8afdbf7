#include "forms/frmInput.h"

#include <QLabel>
#include <QPushButton>

#include "commands/OpenCommand.h"
#include "forms/DirList.h"
#include "forms/DriveList.h"
#include "forms/FileList.h"
#include "forms/MessageBox.h"
#include "forms/ScreenFont.h"
#include "forms/Wizard.h"
#include "workbook/Workbook.h"

namespace vk {

namespace {

constexpr double kListPoints = 7.8;

// The files the engine opens.
std::vector<std::string> workbookExtensions(const WorkbookEngine* engine) {
  return engine ? engine->extensions() : std::vector<std::string>();
}

}  // namespace

frmInput::frmInput(Wizard& wizard)
    : Screen("frmInput", "Input Data Form..", QColor(192, 255, 255), 5652, 6840), wizard_(wizard) {
  addLabel("Label1", "Browse your Data File", {480, 240, 2775, 495}, 12);
  drvChange = new DriveList(this);
  drvChange->setObjectName("drvChange");
  drvChange->setFont(screenFont(kListPoints));
  place(drvChange, {720, 720, 3975, 315});
  Label2 = addLabel("Label2", "", {480, 1200, 4455, 615}, kListPoints);
  dirLook = new DirList(this);
  dirLook->setObjectName("dirLook");
  dirLook->setFont(screenFont(kListPoints));
  place(dirLook, {360, 1920, 4695, 2055});
  filFind = new FileList(workbookExtensions(wizard.module().Engine.get()), this);
  filFind->setObjectName("filFind");
  filFind->setFont(screenFont(kListPoints));
  place(filFind, {360, 4320, 4692, 648});
  filFind->setPath(dirLook->path());
  SSCommand1 = addButton("SSCommand1", "Open", {600, 5520, 972, 852}, 12, std::nullopt);
  cmdNext = addButton("cmdNext", "Next >>", {3840, 5640, 975, 615}, kListPoints, Pointer::BlueRightArrow);
  cmdNext->setEnabled(false);
  cmdNext->setVisible(false);
  setFocusOrder({cmdNext, drvChange, dirLook, filFind, SSCommand1});

  feedback_.bind(Control::Label2, Label2);
  feedback_.bind(Control::cmdNext, cmdNext);
  feedback_.bind(Control::SSCommand1, SSCommand1);
  feedback_.bind(Control::drvChange, drvChange);
  feedback_.bind(Control::dirLook, dirLook);
  feedback_.bind(Control::filFind, filFind);

  connect(drvChange, &DriveList::change, this, &frmInput::drvChange_Change);
  connect(dirLook, &DirList::change, this, &frmInput::dirLook_Change);
  connect(dirLook, &DirList::cannotEnter, this, [this](const QString& path) {
    MessageBox::exclamation(this, "The folder " + path + " cannot be read.", "Error!!");
  });
  connect(filFind, &FileList::click, this, &frmInput::filFind_Click);
  connect(filFind, &FileList::dblClick, this, &frmInput::filFind_DblClick);
  connect(SSCommand1, &QPushButton::clicked, this, &frmInput::SSCommand1_Click);
  connect(cmdNext, &QPushButton::clicked, this, &frmInput::cmdNext_Click);
}

void frmInput::showSelection(const QString& choice) { Label2->setText("Your selection is: " + choice); }

// The only failure the screen catches: a drive that cannot be read leaves
// the directory and file lists where they were.
void frmInput::drvChange_Change() {
  if (!dirLook->setPath(drvChange->drive())) MessageBox::exclamation(this, "Device is not ready!!", "Error!!");
  showSelection(drvChange->drive());
}

void frmInput::dirLook_Change() {
  filFind->setPath(dirLook->path());
  showSelection(dirLook->path());
}

void frmInput::filFind_Click() {
  const std::string path = BuildWorkbookPath(dirLook->path().toStdString(), filFind->fileName().toStdString());
  showSelection(QString::fromStdString(path));
}

void frmInput::filFind_DblClick() { SSCommand1_Click(); }

void frmInput::SSCommand1_Click() {
  command([this] {
    Module1& m = wizard_.module();
    OpenWorkbook(m, feedback_, dirLook->path().toStdString(), filFind->fileName().toStdString());
    // Which engine holds the workbook now: the user looks for it in LibreOffice or not.
    if (m.FileBook && m.Engine) Label2->setText(Label2->text() + " (" + QString::fromStdString(m.Engine->name()) + ")");
  });
}

void frmInput::afterFault() {
  cmdNext->setEnabled(false);
  cmdNext->setVisible(false);
  for (QWidget* choice : std::initializer_list<QWidget*>{SSCommand1, drvChange, dirLook, filFind})
    choice->setEnabled(true);
}

void frmInput::cmdNext_Click() { wizard_.showRead(); }

}  // namespace vk

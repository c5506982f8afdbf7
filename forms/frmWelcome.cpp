#include "forms/frmWelcome.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "forms/Wizard.h"

namespace vk {

frmWelcome::frmWelcome(Wizard& wizard)
    : Screen("frmWelcome", "Welcome !!", QColor(0, 192, 192), 7392, 4668), wizard_(wizard) {
  Label1 = addLabel("Label1", "Welcome to VELM KALIX", {1080, 120, 5415, 495}, 18);
  addLabel("Label6", "(Oxygen Transfer Analysis)", {240, 720, 6615, 495}, 18);
  addLabel("Label2", "By", {2640, 1440, 735, 615}, 18);
  addLabel("Label3", "The VELM KALIX team", {480, 2400, 4095, 495}, 18);
  addLabel("Label4", "Aeration testing", {480, 3120, 4095, 495}, 18);
  addLabel("Label5", "2026", {480, 3840, 3015, 495}, 18);
  cmdNext = addButton("cmdNext", "Next>>", {4560, 3840, 975, 495}, 9.6, Pointer::RedPencil);
  setFocusOrder({cmdNext});

  // The title blinks from the moment the screen exists until it is left.
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(800);
  connect(Timer1, &QTimer::timeout, this, &frmWelcome::Timer1_Timer);
  Timer1->start();

  connect(cmdNext, &QPushButton::clicked, this, &frmWelcome::cmdNext_Click);
}

void frmWelcome::Timer1_Timer() { Label1->setVisible(Label1->isHidden()); }

void frmWelcome::cmdNext_Click() { wizard_.showInput(); }

}  // namespace vk

#pragma once
// The mouse-pointer pictures of the command buttons: while the mouse is over
// such a button, the pointer shows its picture. Drawn here, in the sixteen
// colours of the classic palette, on a 32 by 32 grid.

#include <QCursor>
#include <QImage>

namespace vk {

enum class Pointer {
  RedPencil,          // frmWelcome "Next>>"
  BlueRightArrow,     // frmInput "Next >>"
  HandWriting,        // frmRead "Reading " (a hand writing on a sheet)
  HandPointingRight,  // frmRead "Next>>"
  HandPointingLeft,   // frmRead "<<Back"
  BlueLeftArrow,      // frmRun "<<Back"
  HandsShaking,       // frmRun "Bye!!"
  BlackLeftArrow,     // frmRun "Start Over"
};

// The picture at size by size pixels (32 for the pointer, 16 for small uses).
QImage pointerPicture(Pointer pointer, int size = 32);
// The pointer with its hot spot where the picture points or writes.
QCursor pointerCursor(Pointer pointer);

}  // namespace vk

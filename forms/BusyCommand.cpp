#include "forms/BusyCommand.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>

namespace vk {

namespace {

int depth = 0;

bool isUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:  // a window closed through its frame meanwhile
      return true;
    default: return false;
  }
}

class InputSwallower : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override { return isUserInput(event->type()); }
};

}  // namespace

BusyCommand::BusyCommand() {
  if (depth++ == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCommand::~BusyCommand() {
  dropPendingInput();
  if (--depth == 0) QApplication::restoreOverrideCursor();
}

bool BusyCommand::underWay() { return depth > 0; }

void BusyCommand::dropPendingInput() {
  InputSwallower swallower;
  qApp->installEventFilter(&swallower);
  // What the window system holds and what was posted both arrive now, and
  // the user's part of it goes nowhere.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  qApp->removeEventFilter(&swallower);
}

}  // namespace vk

#include "forms/CommandButton.h"

#include <QKeyEvent>

namespace vk {

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setAutoDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || event->modifiers() != Qt::NoModifier) {
    QPushButton::keyPressEvent(event);
    return;
  }
  // A held key presses once.
  if (!event->isAutoRepeat()) click();
  event->accept();
}

}  // namespace vk

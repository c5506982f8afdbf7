#pragma once
// A command button of the screens. Return and Enter press the button that
// has the focus, as the space bar does. autoDefault would do that too, but
// outside dialogs some styles then draw every button with a default
// button's frame.

#include <QPushButton>

namespace vk {

class CommandButton : public QPushButton {
  Q_OBJECT

 public:
  CommandButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vk

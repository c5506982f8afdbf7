#pragma once
// Every message box of the screens goes through here: modal, with the
// exclamation icon and only an OK button. Tests answer a box through
// setNextAnswer instead of a user, and read what it said from shown().

#include <QMessageBox>
#include <QString>
#include <vector>

namespace vk {

class MessageBox {
 public:
  struct Shown {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
  };

  // An empty title leaves the window title to the toolkit (the program's name).
  static QMessageBox::StandardButton exclamation(QWidget* parent, const QString& text, const QString& title = {});

  // Test hook: the next box is answered with this button without being shown.
  static void setNextAnswer(QMessageBox::StandardButton answer);
  // How many answers given through the hook no box has taken yet.
  static int pendingAnswers();
  // The boxes answered through the hook, oldest first.
  static const std::vector<Shown>& shown();
  static void clearShown();
};

}  // namespace vk

#pragma once
// Every message box of the screens goes through here: modal, with the
// exclamation icon and only an OK button, or a question answered Yes or No.
// Tests answer a box through setNextAnswer instead of a user, and read what
// it said from shown(). A box shown while a command works first drops what
// the user typed meanwhile, and shows the usual pointer while it waits.

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
  // A question with the question icon, Yes and No; No when the box is closed.
  static QMessageBox::StandardButton question(QWidget* parent, const QString& text);

  // Test hook: the next box is answered with this button without being shown.
  static void setNextAnswer(QMessageBox::StandardButton answer);
  // How many answers given through the hook no box has taken yet.
  static int pendingAnswers();
  // The boxes answered through the hook, oldest first.
  static const std::vector<Shown>& shown();
  static void clearShown();
};

}  // namespace vk

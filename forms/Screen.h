#pragma once
// What the four screens have in common: a window with a caption, a back
// colour and a fixed client size laid out in twips; labels and command
// buttons in the screens' font; a focus order; the guard that reports a
// fault of a handler in a message box and leaves the screen usable; and the
// way a command runs: busy, deaf to input meanwhile, the screen raised again
// after it.

#include <QWidget>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "forms/Pointers.h"
#include "forms/Twips.h"

class QLabel;
class QPushButton;

namespace vk {

class Screen : public QWidget {
  Q_OBJECT

 public:
  Screen(const char* name, const QString& caption, QColor backColour, int widthTwips, int heightTwips);
  // Asked before the window closes through its frame; false keeps it open.
  void setCloseCheck(std::function<bool()> mayClose) { mayClose_ = std::move(mayClose); }

 signals:
  // The user closed the window through its frame.
  void closedByUser();

 protected:
  QLabel* addLabel(const char* name, const QString& caption, TwipsRect where, double points);
  QPushButton* addButton(const char* name, const QString& caption, TwipsRect where, double points,
                         std::optional<Pointer> pointer);
  // The order in which the keyboard focus moves; the first enabled and
  // visible control takes the focus when the screen is shown.
  void setFocusOrder(std::vector<QWidget*> order);
  // Runs a handler's work; a fault is shown with its description and the
  // screen stays as the work left it.
  void guarded(const std::function<void()>& work);
  // Runs a command (Open, Reading, Run) as guarded() does, with the busy
  // pointer and the user's input meanwhile dropped (BusyCommand.h). After a
  // fault the screen is put back as it was before the command (afterFault)
  // before the fault is shown. Then the screen's window comes to the front
  // again: the command brought the spreadsheet's window before it.
  void command(const std::function<void()>& work);
  // What the screen shows again after a command failed: nothing busy, and
  // nothing the failed command would have opened.
  virtual void afterFault() {}

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  std::vector<QWidget*> focusOrder_;
  std::function<bool()> mayClose_;
};

}  // namespace vk

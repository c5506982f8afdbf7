#pragma once
// What the four screens have in common: a window with a caption, a back
// colour and a fixed client size laid out in twips; labels and command
// buttons in the screens' font; a focus order; and the guard that reports a
// fault of a handler in a message box and leaves the screen usable.

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

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  std::vector<QWidget*> focusOrder_;
};

}  // namespace vk

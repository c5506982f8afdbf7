#pragma once
// A screen's side of the commands: the captions, visibility and enablement of
// its controls, its progress bar and timer, the beep and the message boxes.
// A control that changes is repainted at once, so the user sees progress
// while a command works without the handler running the event loop.

#include <map>

#include "commands/Feedback.h"

class QProgressBar;
class QTimer;
class QWidget;

namespace vk {

class ScreenFeedback : public Feedback {
 public:
  explicit ScreenFeedback(QWidget* screen) : screen_(screen) {}

  void bind(Control control, QWidget* widget);
  void bindProgressBar(QProgressBar* bar);
  void bindTimer(QTimer* timer);

  void beep() override;
  void setCaption(Control control, const std::string& caption) override;
  void setVisible(Control control, bool visible) override;
  void setEnabled(Control control, bool enabled) override;
  void setProgressMinimum(float minimum) override;
  void setProgressMaximum(float maximum) override;
  void setProgressValue(float value) override;
  void message(const std::string& text) override;
  void warning(const std::string& text) override;

 private:
  QWidget* widget(Control control) const;
  QProgressBar* bar() const;

  QWidget* screen_;
  std::map<Control, QWidget*> controls_;
  QProgressBar* bar_ = nullptr;
  QTimer* timer_ = nullptr;
};

}  // namespace vk

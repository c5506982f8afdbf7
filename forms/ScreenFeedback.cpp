#include "forms/ScreenFeedback.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cmath>
#include <stdexcept>

#include "forms/MessageBox.h"
#include "forms/SystemBeep.h"

namespace vk {

namespace {

// Paints the control now; a control just hidden leaves its place to the screen.
void repaintNow(QWidget* control) {
  if (control->isVisible())
    control->repaint();
  else if (QWidget* parent = control->parentWidget())
    parent->repaint(control->geometry());
}

int barUnits(float value) { return int(std::lround(value)); }

}  // namespace

void ScreenFeedback::bind(Control control, QWidget* widget) { controls_[control] = widget; }

void ScreenFeedback::bindProgressBar(QProgressBar* bar) {
  bar_ = bar;
  bind(Control::ProgressBar1, bar);
}

void ScreenFeedback::bindTimer(QTimer* timer) { timer_ = timer; }

QWidget* ScreenFeedback::widget(Control control) const {
  auto found = controls_.find(control);
  if (found == controls_.end())
    throw std::logic_error(screen_->objectName().toStdString() + " has no control " + controlName(control));
  return found->second;
}

QProgressBar* ScreenFeedback::bar() const {
  if (!bar_) throw std::logic_error(screen_->objectName().toStdString() + " has no progress bar");
  return bar_;
}

void ScreenFeedback::beep() { systemBeep(); }

void ScreenFeedback::setCaption(Control control, const std::string& caption) {
  QWidget* target = widget(control);
  const QString text = QString::fromStdString(caption);
  if (auto* label = qobject_cast<QLabel*>(target))
    label->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(target))
    button->setText(text);
  else
    throw std::logic_error(std::string(controlName(control)) + " has no caption");
  repaintNow(target);
}

void ScreenFeedback::setVisible(Control control, bool visible) {
  QWidget* target = widget(control);
  target->setVisible(visible);
  repaintNow(target);
}

void ScreenFeedback::setEnabled(Control control, bool enabled) {
  if (control == Control::Timer1) {
    if (!timer_) throw std::logic_error(screen_->objectName().toStdString() + " has no timer");
    enabled ? timer_->start() : timer_->stop();
    return;
  }
  QWidget* target = widget(control);
  target->setEnabled(enabled);
  repaintNow(target);
}

void ScreenFeedback::setProgressMinimum(float minimum) {
  bar()->setMinimum(barUnits(minimum));
  repaintNow(bar());
}

void ScreenFeedback::setProgressMaximum(float maximum) {
  bar()->setMaximum(barUnits(maximum));
  repaintNow(bar());
}

// The bar repaints itself at once whenever the change shows, and only then:
// a reading of thirty thousand rows does not pay thirty thousand repaints.
void ScreenFeedback::setProgressValue(float value) { bar()->setValue(barUnits(value)); }

void ScreenFeedback::message(const std::string& text) {
  MessageBox::exclamation(screen_, QString::fromStdString(text));
}

void ScreenFeedback::warning(const std::string& text) {
  MessageBox::exclamation(screen_, QString::fromStdString(text));
}

}  // namespace vk

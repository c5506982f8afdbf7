#include "forms/Screen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "forms/BusyCommand.h"
#include "forms/CaptionLabel.h"
#include "forms/CommandButton.h"
#include "forms/MessageBox.h"
#include "forms/ScreenFont.h"
#include "module1/Fault.h"

namespace vk {

Screen::Screen(const char* name, const QString& caption, QColor backColour, int widthTwips, int heightTwips)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(name);
  setWindowTitle(caption);
  // Labels are transparent and so take this colour; buttons and lists draw
  // with their own palette roles and keep the system colours.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, backColour);
  setPalette(palette);
  setAutoFillBackground(true);
  setFixedSize(pixels(widthTwips), pixels(heightTwips));
  if (QScreen* desktop = QGuiApplication::primaryScreen())
    move(desktop->availableGeometry().center() - rect().center());
}

QLabel* Screen::addLabel(const char* name, const QString& caption, TwipsRect where, double points) {
  auto* label = new CaptionLabel(caption, this);
  label->setObjectName(name);
  label->setFont(screenFont(points));
  place(label, where);
  return label;
}

QPushButton* Screen::addButton(const char* name, const QString& caption, TwipsRect where, double points,
                               std::optional<Pointer> pointer) {
  auto* button = new CommandButton(caption, this);
  button->setObjectName(name);
  button->setFont(screenFont(points));
  if (pointer) button->setCursor(pointerCursor(*pointer));
  place(button, where);
  return button;
}

void Screen::setFocusOrder(std::vector<QWidget*> order) {
  for (size_t k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);
  focusOrder_ = std::move(order);
}

void Screen::guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (const Fault& fault) {
    MessageBox::exclamation(this, QString::fromStdString(fault.description()));
  } catch (const std::exception& failure) {
    MessageBox::exclamation(this, QString::fromLocal8Bit(failure.what()));
  }
}

void Screen::command(const std::function<void()>& work) {
  std::optional<QString> failure;
  {
    BusyCommand busy;
    try {
      work();
    } catch (const Fault& fault) {
      failure = QString::fromStdString(fault.description());
    } catch (const std::exception& other) {
      failure = QString::fromLocal8Bit(other.what());
    }
  }
  if (failure) afterFault();
  raise();
  activateWindow();
  if (failure) MessageBox::exclamation(this, *failure);
}

void Screen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  for (QWidget* control : focusOrder_)
    if (control->isEnabled() && !control->isHidden()) {
      control->setFocus(Qt::OtherFocusReason);
      break;
    }
}

void Screen::closeEvent(QCloseEvent* event) {
  if (mayClose_ && !mayClose_()) {
    event->ignore();
    return;
  }
  event->accept();
  emit closedByUser();
}

}  // namespace vk

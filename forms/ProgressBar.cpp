#include "forms/ProgressBar.h"

#include <QProgressBar>

namespace vk {

QProgressBar* addProgressBar(QWidget* screen, TwipsRect where) {
  auto* bar = new QProgressBar(screen);
  bar->setObjectName("ProgressBar1");
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  place(bar, where);
  return bar;
}

}  // namespace vk

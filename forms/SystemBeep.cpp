#include "forms/SystemBeep.h"

#include <QApplication>

namespace vk {

namespace {
int beeps = 0;
}

void systemBeep() {
  ++beeps;
  QApplication::beep();
}

int systemBeepCount() { return beeps; }

}  // namespace vk

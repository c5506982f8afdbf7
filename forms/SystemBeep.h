#pragma once
// The system beep of the screens, counted so that tests can hear it.

namespace vk {

void systemBeep();
// Beeps sounded since the program started.
int systemBeepCount();

}  // namespace vk

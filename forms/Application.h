#pragma once
// What the wizard tells the desktop about itself: its name, its icon, and
// the id of its desktop entry, so that the desktop shows the entry's icon
// for the wizard's windows.

namespace vk {

// The desktop entry's id (org.velmkalix.VelmKalix.desktop without the suffix).
extern const char* const kDesktopId;

// Call once the QApplication exists.
void describeApplication();

}  // namespace vk

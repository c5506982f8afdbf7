#pragma once
// The progress bar of the reading and run screens: range 0 to 100, value 0,
// no text, as the screens are created.

#include "forms/Twips.h"

class QProgressBar;
class QWidget;

namespace vk {

QProgressBar* addProgressBar(QWidget* screen, TwipsRect where);

}  // namespace vk

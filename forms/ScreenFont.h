#pragma once
// The one font of the screens: "MS Sans Serif", bold, at the size each control
// is given; where that font is not installed, the closest sans-serif.

#include <QFont>

namespace vk {

QFont screenFont(double points);

}  // namespace vk

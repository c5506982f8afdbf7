#pragma once
// The program's icon, drawn here for the window: a tank of water with
// rising air bubbles and the re-aeration curve climbing towards saturation.
// The installed icon (apps/velm-kalix/*.svg) is the same drawing.

#include <QIcon>
#include <QImage>

namespace vk {

QImage appIconImage(int size);
QIcon appIcon();

}  // namespace vk

#include "forms/ScreenFont.h"

#include <QStringList>

namespace vk {

QFont screenFont(double points) {
  QFont font;
  // Liberation Sans and Arimo share the metrics of the font the screens were
  // laid out for closely enough that the captions fit their controls.
  font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arimo"});
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Bold);
  font.setPointSizeF(points);
  return font;
}

}  // namespace vk

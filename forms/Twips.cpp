#include "forms/Twips.h"

#include <QWidget>

namespace vk {

void place(QWidget* control, TwipsRect where) {
  control->setGeometry(pixels(where.left), pixels(where.top), pixels(where.width), pixels(where.height));
}

}  // namespace vk

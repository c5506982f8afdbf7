#include "forms/Pointers.h"

#include <QPainter>
#include <QPixmap>

#include "forms/PointerDrawing.h"

namespace vk {

namespace {

void drawPointer(QPainter& painter, Pointer pointer) {
  switch (pointer) {
    case Pointer::RedPencil: return draw::pencil(painter, draw::kRed);
    case Pointer::BlueRightArrow: return draw::arrow(painter, draw::kBlue, draw::kNavy, false);
    case Pointer::HandWriting: return draw::writingHand(painter);
    case Pointer::HandPointingRight: return draw::pointingHand(painter, false);
    case Pointer::HandPointingLeft: return draw::pointingHand(painter, true);
    case Pointer::BlueLeftArrow: return draw::arrow(painter, draw::kBlue, draw::kNavy, true);
    case Pointer::HandsShaking: return draw::handsShaking(painter);
    case Pointer::BlackLeftArrow: return draw::arrow(painter, draw::kBlack, draw::kWhite, true);
  }
}

// Where each picture points, on the 32 by 32 grid.
QPoint hotSpot(Pointer pointer) {
  switch (pointer) {
    case Pointer::RedPencil: return {4, 28};
    case Pointer::BlueRightArrow: return {30, 16};
    case Pointer::HandWriting: return {9, 25};
    case Pointer::HandPointingRight: return {30, 14};
    case Pointer::HandPointingLeft: return {2, 14};
    case Pointer::BlueLeftArrow: return {2, 16};
    case Pointer::HandsShaking: return {16, 16};
    case Pointer::BlackLeftArrow: return {2, 16};
  }
  return {0, 0};
}

}  // namespace

QImage pointerPicture(Pointer pointer, int size) {
  QImage picture(size, size, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.scale(size / 32.0, size / 32.0);
  drawPointer(painter, pointer);
  return picture;
}

QCursor pointerCursor(Pointer pointer) {
  const QPoint spot = hotSpot(pointer);
  return QCursor(QPixmap::fromImage(pointerPicture(pointer, 32)), spot.x(), spot.y());
}

}  // namespace vk

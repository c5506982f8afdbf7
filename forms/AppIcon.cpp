#include "forms/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vk {

QImage appIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);

  // The tank and its water.
  painter.setPen(QPen(QColor(0x1d, 0x3b, 0x53), 3));
  painter.setBrush(QColor(0xe8, 0xf4, 0xf8));
  painter.drawRoundedRect(QRectF(6, 6, 52, 52), 8, 8);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x3a, 0x9b, 0xc8));
  painter.drawRoundedRect(QRectF(8, 22, 48, 34), 6, 6);

  // Air bubbles rising from the diffusers.
  painter.setBrush(QColor(0xff, 0xff, 0xff, 0xd0));
  for (const QRectF& bubble :
       {QRectF(14, 44, 6, 6), QRectF(22, 34, 5, 5), QRectF(16, 27, 4, 4), QRectF(40, 46, 5, 5), QRectF(46, 36, 4, 4)})
    painter.drawEllipse(bubble);

  // The concentration rising towards saturation.
  QPainterPath curve(QPointF(10, 52));
  curve.cubicTo(QPointF(22, 20), QPointF(34, 14), QPointF(54, 13));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0xd6, 0x2f, 0x2f), 4, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(curve);
  return image;
}

QIcon appIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(appIconImage(size)));
  return icon;
}

}  // namespace vk

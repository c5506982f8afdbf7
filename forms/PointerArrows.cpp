#include <QPainter>
#include <QPolygonF>

#include "forms/PointerDrawing.h"

namespace vk::draw {

namespace {

// Draws what follows mirrored left to right on the 32 by 32 grid.
void mirror(QPainter& painter) {
  painter.translate(32, 0);
  painter.scale(-1, 1);
}

}  // namespace

void arrow(QPainter& painter, const QColor& fill, const QColor& outline, bool pointsLeft) {
  painter.save();
  if (pointsLeft) mirror(painter);
  painter.setPen(outline);
  painter.setBrush(fill);
  const QPolygonF shape{{2, 12}, {17, 12}, {17, 5}, {30, 16}, {17, 27}, {17, 20}, {2, 20}};
  painter.drawPolygon(shape);
  painter.restore();
}

void pencil(QPainter& painter, const QColor& body) {
  painter.save();
  painter.translate(16, 16);
  painter.rotate(-45);
  painter.setPen(kBlack);
  painter.setBrush(body);
  painter.drawRect(QRectF(-9, -4, 21, 8));
  painter.setBrush(kSilver);
  painter.drawRect(QRectF(12, -4, 5, 8));
  painter.setBrush(kYellow);
  painter.drawPolygon(QPolygonF{{-9, -4}, {-9, 4}, {-17, 0}});
  painter.setBrush(kBlack);
  painter.drawPolygon(QPolygonF{{-14, -1.5}, {-14, 1.5}, {-17, 0}});
  painter.restore();
}

}  // namespace vk::draw

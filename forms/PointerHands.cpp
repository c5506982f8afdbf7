#include <QPainter>
#include <QPolygonF>

#include "forms/PointerDrawing.h"

namespace vk::draw {

namespace {

void mirror(QPainter& painter) {
  painter.translate(32, 0);
  painter.scale(-1, 1);
}

void skin(QPainter& painter) {
  painter.setPen(kBlack);
  painter.setBrush(kWhite);
}

}  // namespace

void pointingHand(QPainter& painter, bool pointsLeft) {
  painter.save();
  if (pointsLeft) mirror(painter);
  painter.setPen(kBlack);
  painter.setBrush(kBlue);
  painter.drawRect(QRectF(1, 10, 5, 18));  // the sleeve
  skin(painter);
  painter.drawRoundedRect(QRectF(6, 11, 11, 16), 3, 3);  // the fist
  painter.drawRoundedRect(QRectF(13, 11, 17, 6), 3, 3);  // the index finger
  for (double top : {17.0, 20.5, 24.0})                  // the folded fingers
    painter.drawRoundedRect(QRectF(13, top, 6, 3.5), 1.5, 1.5);
  painter.drawLine(QPointF(8, 18), QPointF(12, 20));  // the thumb
  painter.restore();
}

void writingHand(QPainter& painter) {
  painter.save();
  // The sheet, with a few ruled lines and the line being written.
  painter.setPen(kBlack);
  painter.setBrush(kWhite);
  painter.drawRect(QRectF(2, 4, 19, 26));
  painter.setPen(kGray);
  for (int y : {9, 13, 17, 21}) painter.drawLine(5, y, 18, y);
  painter.setPen(kBlack);
  painter.drawLine(4, 25, 9, 25);
  // The pencil, its point on the sheet.
  painter.save();
  painter.translate(9, 25);
  painter.rotate(-45);
  painter.setBrush(kYellow);
  painter.drawPolygon(QPolygonF{{0, 0}, {5, -2.5}, {5, 2.5}});
  painter.drawRect(QRectF(5, -2.5, 20, 5));
  painter.restore();
  // The hand holding it, and its sleeve.
  skin(painter);
  painter.drawEllipse(QRectF(12, 12, 12, 10));
  painter.drawLine(QPointF(14, 19), QPointF(19, 16));
  painter.setBrush(kBlue);
  painter.drawPolygon(QPolygonF{{21, 11}, {27, 4}, {31, 8}, {24, 15}});
  painter.restore();
}

void handsShaking(QPainter& painter) {
  painter.save();
  painter.setPen(kBlack);
  painter.setBrush(kBlue);
  painter.drawRect(QRectF(0, 10, 6, 12));  // the left sleeve
  painter.setBrush(kMaroon);
  painter.drawRect(QRectF(26, 13, 5, 12));  // the right sleeve
  skin(painter);
  painter.drawRoundedRect(QRectF(6, 11, 15, 9), 3, 3);        // the left hand
  painter.drawRoundedRect(QRectF(10, 8, 7, 4), 2, 2);         // its thumb
  painter.drawRoundedRect(QRectF(11, 15, 15, 9), 3, 3);       // the right hand, clasping it
  for (int x : {14, 17, 20}) painter.drawLine(x, 19, x, 24);  // its fingers
  painter.restore();
}

}  // namespace vk::draw

#pragma once
// The drawings behind the pointer pictures, each on a 32 by 32 grid.

#include <QColor>

class QPainter;

namespace vk::draw {

// The sixteen colours the pictures are drawn in (those used here).
inline const QColor kBlack{0, 0, 0};
inline const QColor kWhite{255, 255, 255};
inline const QColor kRed{255, 0, 0};
inline const QColor kBlue{0, 0, 255};
inline const QColor kNavy{0, 0, 128};
inline const QColor kYellow{255, 255, 0};
inline const QColor kSilver{192, 192, 192};
inline const QColor kGray{128, 128, 128};
inline const QColor kMaroon{128, 0, 0};

// An arrow filled with the colour, pointing right, or left when mirrored.
void arrow(QPainter& painter, const QColor& fill, const QColor& outline, bool pointsLeft);
// A pencil lying from the top right to its tip at the bottom left.
void pencil(QPainter& painter, const QColor& body);
// A hand whose index finger points right, or left when mirrored.
void pointingHand(QPainter& painter, bool pointsLeft);
// A hand writing with a pencil on a sheet of paper.
void writingHand(QPainter& painter);
// Two hands, with sleeves of two colours, shaking.
void handsShaking(QPainter& painter);

}  // namespace vk::draw

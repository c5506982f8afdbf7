#pragma once
// The screens are laid out in twips, at 15 twips to the pixel.

#include <cmath>

class QWidget;

namespace vk {

constexpr int kTwipsPerPixel = 15;

inline int pixels(int twips) { return int(std::lround(double(twips) / kTwipsPerPixel)); }

// Where a control stands in its screen's client area, in twips.
struct TwipsRect {
  int left, top, width, height;
};

void place(QWidget* control, TwipsRect where);

}  // namespace vk

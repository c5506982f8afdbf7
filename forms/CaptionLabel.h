#pragma once
// A label as the screens know it: text from the top left corner, wrapped at
// word boundaries, and a word longer than the label (a path) broken where the
// line ends instead of running out of sight.

#include <QLabel>

namespace vk {

class CaptionLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vk

#pragma once
// Sizes and default colours of the drawing, in viewBox units. The page's CSS
// may recolour everything through the classes; these are what a page without
// a style sheet shows.

#include <cstddef>
#include <string_view>

namespace vk::plot::style {

constexpr double kFontSize = 12;
constexpr double kTickFontSize = 11;
constexpr double kTitleFontSize = 14;
constexpr double kPad = 8;
constexpr double kTickLength = 5;
constexpr double kLegendRow = 16;
constexpr double kSwatch = 18;  // the legend's sample of a series
constexpr double kMarkerRadius = 2.5;
constexpr double kCap = 3;  // half the width of an error bar's cap
// Spacing of ticks, so that labels neither crowd nor leave the axis bare.
constexpr double kMinXTickSpacing = 80;
constexpr double kMinYTickSpacing = 40;

constexpr std::string_view kText = "#222";
constexpr std::string_view kGrid = "#ddd";
constexpr std::string_view kFrame = "#444";
constexpr std::string_view kReference = "#777";
// Told apart also in grey print: dark blue, red, green, purple, orange, brown.
constexpr std::string_view kPalette[] = {"#1f5fa8", "#c0392b", "#2e7d32", "#7b3fa0", "#d35400", "#6d4c41"};

inline std::string_view colour(std::size_t seriesIndex) {
  return kPalette[seriesIndex % (sizeof kPalette / sizeof kPalette[0])];
}

// Text is measured by estimate: a sans-serif glyph is about 0.6 em at most
// for digits and most letters, so the estimate errs on the wide side.
inline double textWidth(std::string_view text, double fontSize) {
  std::size_t glyphs = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++glyphs;  // UTF-8 continuation bytes are no glyph
  return 0.6 * fontSize * static_cast<double>(glyphs);
}

}  // namespace vk::plot::style

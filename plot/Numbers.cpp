#include "plot/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace vk::plot {
namespace {

std::string toChars(double v, std::chars_format format, int precision) {
  char buffer[400];  // fixed notation of the largest double with a few decimals
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v, format, precision);
  if (error == std::errc()) return std::string(buffer, end);
  // More decimals than fit: the shortest text that reads back as v.
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// "-0.00" -> "0.00": a value that rounds to zero has no sign.
void dropSignOfZero(std::string& text) {
  if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
}

void dropTrailingZeros(std::string& mantissa) {
  if (mantissa.find('.') == std::string::npos) return;
  mantissa.erase(mantissa.find_last_not_of('0') + 1);
  if (mantissa.back() == '.') mantissa.pop_back();
}

}  // namespace

std::string fixed(double v, int decimals) {
  if (!std::isfinite(v)) return toChars(v, std::chars_format::general, 0);
  std::string text = toChars(v, std::chars_format::fixed, decimals < 0 ? 0 : decimals);
  dropSignOfZero(text);
  return text;
}

std::string scientific(double v, int decimals) {
  if (!std::isfinite(v)) return toChars(v, std::chars_format::general, 0);
  if (v == 0) return "0";
  std::string text = toChars(v, std::chars_format::scientific, decimals < 0 ? 0 : decimals);
  const std::size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  dropTrailingZeros(mantissa);
  const int exponent = std::atoi(text.c_str() + e + 1);
  return mantissa + "e" + std::to_string(exponent);
}

std::string significant(double v, int digits) {
  if (!std::isfinite(v)) return toChars(v, std::chars_format::general, 0);
  if (v == 0) return "0";
  if (digits < 1) digits = 1;
  const double magnitude = std::fabs(v);
  if (magnitude < 1e-4 || magnitude >= 1e15) return scientific(v, digits - 1);
  const int exponent = int(std::floor(std::log10(magnitude)));
  std::string text = fixed(v, digits - 1 - exponent);
  dropTrailingZeros(text);
  dropSignOfZero(text);
  return text;
}

std::string coordinate(double v) {
  // Whatever is drawn lies within the figure; the bound only keeps llround defined.
  const long long tenths = std::isfinite(v) ? std::llround(std::clamp(v, -1e9, 1e9) * 10) : 0;
  std::string text = tenths < 0 ? "-" : "";
  const unsigned long long magnitude =
      tenths < 0 ? 0ULL - static_cast<unsigned long long>(tenths) : static_cast<unsigned long long>(tenths);
  text += std::to_string(magnitude / 10);
  if (magnitude % 10 != 0) {
    text += '.';
    text += static_cast<char>('0' + magnitude % 10);
  }
  return text;
}

std::string grouped(std::size_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits;
}

}  // namespace vk::plot

#pragma once
// Numbers as the plots print them. std::to_chars never consults the locale,
// so a plot is the same text on every machine; "-0" is never printed.

#include <cstddef>
#include <string>

namespace vk::plot {

// `decimals` digits after the point: fixed(-0.001, 2) -> "0.00".
std::string fixed(double v, int decimals);

// Exponent form with `decimals` digits in the mantissa, trailing zeros and
// the exponent's padding dropped: scientific(2.5e-7, 3) -> "2.5e-7".
std::string scientific(double v, int decimals);

// `digits` significant digits, trailing zeros dropped, but every digit of
// the whole part: significant(6.4299998, 6) -> "6.43",
// significant(1234567, 3) -> "1234567". Exponent form outside
// 1e-4 <= |v| < 1e15.
std::string significant(double v, int digits);

// A point's coordinate in the drawing, to a tenth of a unit: 12.25 -> "12.3",
// 40.0 -> "40".
std::string coordinate(double v);

// A count with thousands separated: 32723 -> "32,723".
std::string grouped(std::size_t n);

}  // namespace vk::plot

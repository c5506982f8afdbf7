#pragma once
// The 16-bit Integer of counts, loop counters, rows and columns. Arithmetic
// that leaves the range -32768..32767 is an overflow fault, never a wrap.

#include <cstdint>
#include <string>

namespace vk {

class Integer {
 public:
  constexpr Integer() = default;
  constexpr Integer(std::int16_t v) : value_(v) {}  // NOLINT: implicit by design

  // A whole number that must fit; `what` names it in the fault.
  static Integer checked(long long v, const char* what = "a count");
  // A cell value converted as the workbook convention has it: to the nearest
  // integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
  static Integer fromCell(double v, const std::string& cell);

  constexpr std::int16_t value() const { return value_; }
  constexpr operator int() const { return value_; }  // NOLINT: reads as a number

  Integer& operator+=(Integer other) { return *this = checked(long(value_) + other.value_); }
  Integer& operator-=(Integer other) { return *this = checked(long(value_) - other.value_); }

 private:
  std::int16_t value_ = 0;
};

inline Integer operator+(Integer a, Integer b) { return a += b; }
inline Integer operator-(Integer a, Integer b) { return a -= b; }

}  // namespace vk

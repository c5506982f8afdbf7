#pragma once
// The few values the analysis keeps as variants: Empty, a 16-bit Integer, a
// 32-bit Single or a 64-bit Double. Arithmetic keeps the narrower type where
// both operands allow it; Empty counts as 0. A variant written to a cell keeps
// its type, and an Empty one leaves the cell empty.

#include <ostream>
#include <string>

#include "module1/Integer.h"

namespace vk {

class Variant {
 public:
  enum class Type { Empty, Integer, Single, Double };

  Variant() = default;
  Variant(Integer v) : type_(Type::Integer), integer_(v) {}  // NOLINT: a variant holds any of these
  static Variant single(float v);
  static Variant dbl(double v);

  Type type() const { return type_; }
  bool isEmpty() const { return type_ == Type::Empty; }

  // The value as a number; Empty reads 0.
  double asDouble() const;
  // For a variant that holds a count: its Integer value, checked.
  Integer asInteger() const;

  friend bool operator==(const Variant& a, const Variant& b);

 private:
  Type type_ = Type::Empty;
  Integer integer_;
  float single_ = 0;
  double double_ = 0;
};

// Empty + Empty and Integer + Integer give an Integer; with a Single a Single;
// with a Double a Double.
Variant operator+(const Variant& a, const Variant& b);
Variant& operator+=(Variant& a, const Variant& b);
// An average: a Double stays Double, everything else gives a Single.
Variant operator/(const Variant& a, Integer divisor);

std::string describe(const Variant& v);  // for messages and test output
inline void PrintTo(const Variant& v, std::ostream* os) { *os << describe(v); }

}  // namespace vk

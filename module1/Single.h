#pragma once
// Checked floating-point steps. Formulas are computed in double; a value that
// the analysis stores as a 32-bit float goes through toSingle() at that point.
// A result that is not finite never reaches a stored value: it raises the
// fault the operation would raise.

#include <cmath>
#include <limits>

#include "module1/Fault.h"

namespace vk {

// Rounds a double to the nearest 32-bit float; out of range is an overflow.
inline float toSingle(double v, const Where& where) {
  if (std::isnan(v)) raise(FaultKind::InvalidOperation, where, "the result is not a number");
  float f = static_cast<float>(v);
  if (std::isinf(f)) raise(FaultKind::Overflow, where, "the value is too large for a 32-bit float");
  return f;
}

// A double result that must be finite (for values kept in double).
inline double checkedDouble(double v, const Where& where) {
  if (std::isnan(v)) raise(FaultKind::InvalidOperation, where, "the result is not a number");
  if (std::isinf(v)) raise(FaultKind::Overflow, where, "the value is too large");
  return v;
}

inline double checkedDivide(double numerator, double denominator, const Where& where) {
  if (denominator == 0.0) raise(FaultKind::DivisionByZero, where, "the divisor is zero");
  return checkedDouble(numerator / denominator, where);
}

inline double checkedLog(double x, const Where& where) {
  if (!(x > 0.0)) raise(FaultKind::InvalidOperation, where, "the logarithm of a number that is not positive");
  return checkedDouble(std::log(x), where);
}

inline double checkedExp(double x, const Where& where) { return checkedDouble(std::exp(x), where); }

}  // namespace vk

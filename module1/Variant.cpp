#include "module1/Variant.h"

#include <cmath>
#include <cstdio>

#include "module1/Single.h"

namespace vk {

Variant Variant::single(float v) {
  Variant r;
  r.type_ = Type::Single;
  r.single_ = v;
  return r;
}

Variant Variant::dbl(double v) {
  Variant r;
  r.type_ = Type::Double;
  r.double_ = v;
  return r;
}

double Variant::asDouble() const {
  switch (type_) {
    case Type::Empty: return 0.0;
    case Type::Integer: return integer_.value();
    case Type::Single: return single_;
    case Type::Double: return double_;
  }
  return 0.0;
}

Integer Variant::asInteger() const {
  if (type_ == Type::Integer) return integer_;
  return Integer::fromCell(asDouble(), "a count");
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.type_ != b.type_) return false;
  switch (a.type_) {
    case Variant::Type::Empty: return true;
    case Variant::Type::Integer: return a.integer_.value() == b.integer_.value();
    case Variant::Type::Single: return a.single_ == b.single_;
    case Variant::Type::Double: return a.double_ == b.double_;
  }
  return false;
}

Variant operator+(const Variant& a, const Variant& b) {
  using T = Variant::Type;
  const Where where{"a running sum"};
  if (a.type() == T::Double || b.type() == T::Double)
    return Variant::dbl(checkedDouble(a.asDouble() + b.asDouble(), where));
  if (a.type() == T::Single || b.type() == T::Single) {
    double sum = a.asDouble() + b.asDouble();
    // A Single sum too large for a Single becomes a Double, as variants do.
    if (std::fabs(sum) > std::numeric_limits<float>::max()) return Variant::dbl(checkedDouble(sum, where));
    return Variant::single(static_cast<float>(sum));
  }
  return Variant(Integer::checked(long(a.asDouble()) + long(b.asDouble()), "a running sum"));
}

Variant& operator+=(Variant& a, const Variant& b) { return a = a + b; }

Variant operator/(const Variant& a, Integer divisor) {
  const Where where{"an average"};
  double quotient = checkedDivide(a.asDouble(), divisor, where);
  if (a.type() == Variant::Type::Double) return Variant::dbl(quotient);
  return Variant::single(toSingle(quotient, where));
}

std::string describe(const Variant& v) {
  char buf[64];
  switch (v.type()) {
    case Variant::Type::Empty: return "Empty";
    case Variant::Type::Integer: std::snprintf(buf, sizeof buf, "Integer %d", int(v.asInteger())); break;
    case Variant::Type::Single: std::snprintf(buf, sizeof buf, "Single %.9g", v.asDouble()); break;
    case Variant::Type::Double: std::snprintf(buf, sizeof buf, "Double %.17g", v.asDouble()); break;
  }
  return buf;
}

}  // namespace vk

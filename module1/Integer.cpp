#include "module1/Integer.h"

#include <cmath>

#include "module1/Fault.h"
#include "module1/NumberText.h"

namespace vk {

Integer Integer::checked(long long v, const char* what) {
  if (v < -32768 || v > 32767)
    throw Fault(FaultKind::Overflow, std::string(what) + " of " + std::to_string(v) +
                                         " is outside the range of a 16-bit integer (-32768 to 32767)");
  return Integer(static_cast<std::int16_t>(v));
}

Integer Integer::fromCell(double v, const std::string& cell) {
  if (!std::isfinite(v) || v < -32768.5 || v > 32767.5)
    throw Fault(FaultKind::Overflow,
                cell + " holds " + numberText(v) + ", outside the range of a 16-bit integer (-32768 to 32767)");
  double r = std::nearbyint(v);  // the default rounding mode sends halves to even
  if (r < -32768 || r > 32767)
    throw Fault(FaultKind::Overflow, cell + " rounds to " + numberText(r) + ", outside the range of a 16-bit integer");
  return Integer(static_cast<std::int16_t>(r));
}

}  // namespace vk

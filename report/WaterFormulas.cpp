#include "report/WaterFormulas.h"

#include <cmath>

#include "module1/Single.h"

namespace vk {

float PowerOf(double x, float y) {
  if (x == 0) return 0.0f;
  const Where where{"a power"};
  const double r = checkedExp(double(y) * std::log(std::fabs(x)), where);
  const float power = toSingle(r, where);
  if (x > 0) return power;
  return toSingle(checkedDivide(1.0, power, where), where);
}

double VaporPressure(float waterTemp) {
  const double t = waterTemp;
  const double s = 0.0014456 * (t * t) + 0.39240122 * t + 4.5101;
  const float mmHg = toSingle(s + 0.00066553 * double(PowerOf(t, 3)) - 0.00000459143 * double(PowerOf(t, 4)),
                              Where{"the vapour pressure of water"});
  return double(mmHg) / 25.4;
}

double SatDO(float waterTemp) {
  const Where where{"the oxygen saturation of water"};
  const double tk = double(waterTemp) + 273.15;
  const double l = -139.34411 + checkedDivide(157570.1, tk, where) - checkedDivide(66423080.0, tk * tk, where) +
                   checkedDivide(12438000000.0, PowerOf(tk, 3), where) -
                   checkedDivide(862194900000.0, PowerOf(tk, 4), where);
  return checkedExp(l, where);
}

double WaterSpecWeight(float waterTemp) {
  const Where where{"the specific weight of water"};
  const double t = waterTemp;
  if (t < 0)
    raise(FaultKind::InvalidOperation, where,
          "the water temperature is below 0 degrees C, so its square root is undefined");
  const double d = 0.99984377 + 0.000063326 * t - 0.000008256 * std::pow(t, 0.5) + 0.0000000494696 * std::pow(t, 1.5);
  return checkedDouble(d * 0.03612729, where);
}

}  // namespace vk

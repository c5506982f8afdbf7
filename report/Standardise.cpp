#include "report/Standardise.h"

#include "module1/Single.h"
#include "report/WaterFormulas.h"

namespace vk {

namespace {
constexpr double kSatDO20 = 9.092426;  // mg/L at 20 degrees C and 1 atm
constexpr double kTheta = 1.024;       // temperature correction of KLa
constexpr double kLbO2PerMgLFt3 = 0.000062402;
constexpr double kLbO2PerHourPerScfm = 1.036;
constexpr double kInHgPerPsi = 2.03602;
constexpr double kInchesPerFoot = 12;
}  // namespace

StandardFigures Standardise(const TestConditions& test, float cinf, float kla, int set) {
  StandardFigures f;
  auto at = [set](const char* what) { return Where{what, set}; };
  const double pb = test.BaroPress;

  f.Pv = toSingle(VaporPressure(test.WaterTemp), at("the vapour pressure"));
  f.CsT = toSingle(SatDO(test.WaterTemp), at("the oxygen saturation"));
  const double pv = f.Pv;

  f.SatDepthInHg = toSingle(checkedDivide(cinf, f.CsT, at("the saturation depth")) * (kStdPressure - pv) - pb + pv,
                            at("the saturation depth"));
  f.Omega = toSingle(checkedDivide(double(f.SatDepthInHg) + pb - pv, double(f.SatDepthInHg) + kStdPressure - pv,
                                   at("the pressure correction")),
                     at("the pressure correction"));
  f.Tau = toSingle(double(f.CsT) / kSatDO20, at("the temperature correction"));
  f.CinfStd = toSingle(checkedDivide(checkedDivide(cinf, f.Tau, at("C-infinity at standard conditions")), f.Omega,
                                     at("C-infinity at standard conditions")),
                       at("C-infinity at standard conditions"));

  const float exponent = toSingle(double(test.WaterTemp) - 20.0, at("KLa at 20 degrees C"));
  const float perMinute20 =
      toSingle(checkedDivide(kla, PowerOf(kTheta, exponent), at("KLa at 20 degrees C")), at("KLa at 20 degrees C"));
  f.KLa20 = toSingle(double(perMinute20) * 60.0, at("KLa at 20 degrees C"));
  f.KLaT = toSingle(double(kla) * 60.0, at("KLa at the test temperature"));

  const float sotr = toSingle(double(f.KLa20) * f.CinfStd * test.TankVolume * kLbO2PerMgLFt3, at("the SOTR"));
  f.SOTR = Variant::single(sotr);
  if (test.AirFlow != 0) {
    const float percent = toSingle(double(sotr) * 100.0, at("the SOTE"));
    f.SOTE = Variant::dbl(checkedDivide(percent, double(test.AirFlow) * kLbO2PerHourPerScfm, at("the SOTE")));
  }

  f.SatDepthPsi = toSingle(double(f.SatDepthInHg) / kInHgPerPsi, at("the saturation depth"));
  f.SatDepth = toSingle(
      checkedDivide(f.SatDepthPsi, WaterSpecWeight(test.WaterTemp), at("the saturation depth")) / kInchesPerFoot,
      at("the saturation depth"));
  return f;
}

void RunningSums::add(const StandardFigures& figures, const Variant& stdErr) {
  SumKLa20 += Variant::single(figures.KLa20);
  SumCinfStd += Variant::single(figures.CinfStd);
  SumSOTE += figures.SOTE;
  SumSOTR += figures.SOTR;
  SumDepth += Variant::single(figures.SatDepth);
  SumStdErr += stdErr;
  SumStdPress += Variant::single(toSingle(kStdPressure, Where{"the standard pressure"}));
}

}  // namespace vk

#pragma once
// Correction of one data set's fitted C-infinity and KLa to standard
// conditions (20 degrees C, 29.92 inHg), and the running sums of the averages.

#include "module1/Variant.h"

namespace vk {

struct TestConditions {
  float WaterTemp = 0;   // degrees C
  float BaroPress = 0;   // inHg
  float TankVolume = 0;  // cubic feet
  float AirFlow = 0;     // standard cubic feet per minute; 0: none given
};

struct StandardFigures {
  float Pv = 0;            // vapour pressure at the test temperature, inHg
  float CsT = 0;           // saturation at the test temperature and 1 atm, mg/L
  float Tau = 0;           // CsT / saturation at 20 degrees C
  float Omega = 0;         // pressure correction factor
  float CinfStd = 0;       // C-infinity at standard conditions, mg/L
  float KLa20 = 0;         // KLa at 20 degrees C, per hour
  float KLaT = 0;          // KLa at the test temperature, per hour
  Variant SOTR;            // lb O2 per hour (a Single)
  Variant SOTE;            // percent (a Double), Empty without an air flow
  float SatDepthInHg = 0;  // the effective saturation depth as a pressure,
  float SatDepthPsi = 0;   // in inHg, in psi,
  float SatDepth = 0;      // and finally in feet
};

// cinf in mg/L and kla per minute, as the fit leaves them; `set` names the
// data set in a fault.
StandardFigures Standardise(const TestConditions& test, float cinf, float kla, int set);

// The seven sums behind the averages row; each starts as the Integer 0.
struct RunningSums {
  Variant SumKLa20 = Integer(0);
  Variant SumCinfStd = Integer(0);
  Variant SumSOTE = Integer(0);
  Variant SumSOTR = Integer(0);
  Variant SumDepth = Integer(0);
  Variant SumStdErr = Integer(0);
  Variant SumStdPress = Integer(0);

  void add(const StandardFigures& figures, const Variant& stdErr);
};

// The standard conditions. The pressure enters the saturation depth and the
// pressure correction as a double; where it is stored, it is rounded to a
// Single at that point, like every stored value.
constexpr double kStdPressure = 29.92;  // inHg
constexpr float kStdTemp = 20.0f;       // degrees C

}  // namespace vk

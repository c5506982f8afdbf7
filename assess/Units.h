#pragma once
// Every figure is reported in the program's US units with its SI value
// beside it. The conversion factors live here and nowhere else.

namespace vk::assess::units {

inline constexpr double kKilogramsPerPound = 0.45359237;
inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kKilopascalsPerInHg = 3.386389;
inline constexpr double kCubicMetresPerHourPerScfm = 1.699011;
inline constexpr double kCubicMetresPerCubicFoot = kMetresPerFoot * kMetresPerFoot * kMetresPerFoot;

// The kinds of figure that have a US and an SI unit.
enum class Dimension { MassRate, Length, Volume, Pressure, AirFlow };

inline constexpr double toSi(Dimension d, double us) {
  switch (d) {
    case Dimension::MassRate: return us * kKilogramsPerPound;         // lb O2/h -> kg O2/h
    case Dimension::Length: return us * kMetresPerFoot;               // ft -> m
    case Dimension::Volume: return us * kCubicMetresPerCubicFoot;     // ft3 -> m3
    case Dimension::Pressure: return us * kKilopascalsPerInHg;        // inHg -> kPa
    case Dimension::AirFlow: return us * kCubicMetresPerHourPerScfm;  // scfm -> m3/h of air
  }
  return us;
}

inline constexpr const char* usUnit(Dimension d) {
  switch (d) {
    case Dimension::MassRate: return "lb O2/h";
    case Dimension::Length: return "ft";
    case Dimension::Volume: return "ft3";
    case Dimension::Pressure: return "inHg";
    case Dimension::AirFlow: return "scfm";
  }
  return "";
}

inline constexpr const char* siUnit(Dimension d) {
  switch (d) {
    case Dimension::MassRate: return "kg O2/h";
    case Dimension::Length: return "m";
    case Dimension::Volume: return "m3";
    case Dimension::Pressure: return "kPa";
    case Dimension::AirFlow: return "m3/h";
  }
  return "";
}

}  // namespace vk::assess::units

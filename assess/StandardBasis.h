#pragma once
// The basis on which the program corrects a test to standard conditions and
// rates its air, as the Run uses it. Repeated here so that the assessment
// needs no workbook code; tests hold it to the Run's own correction.

namespace vk::assess::basis {

inline constexpr double kStdTempC = 20;         // standard water temperature
inline constexpr double kStdPressInHg = 29.92;  // standard barometric pressure
inline constexpr double kSatDO20 = 9.092426;    // mg/L at 20 degrees C and 1 atm: surface saturation
inline constexpr double kTheta = 1.024;         // temperature correction of KLa, theta^(T - 20)
inline constexpr double kMinutesPerHour = 60;
inline constexpr double kLbO2PerMgLFt3 = 0.000062402;  // 62.402 lb of water per ft3, times 1e-6
inline constexpr double kLbO2PerHourPerScfm = 1.036;   // oxygen carried by 1 scfm of standard air

inline constexpr const char* kStatement =
    "Standard conditions: clean water at 20 degrees C and 29.92 inHg (101.32 kPa). KLa is corrected to "
    "20 degrees C by theta = 1.024; C-infinity to 20 degrees C and 29.92 inHg through the surface "
    "saturation (9.092426 mg/L at 20 degrees C) and the effective saturation depth. SOTR = KLa20 x "
    "C-infinity20 x tank volume x 0.000062402 lb O2 per (mg/L x ft3). Standard air: 1 scfm carries "
    "1.036 lb O2/h; SOTE = 100 x SOTR / (1.036 x air flow).";

}  // namespace vk::assess::basis

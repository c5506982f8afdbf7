#pragma once
// Properties of clean water needed for the correction to standard
// conditions. Temperatures in degrees C.

namespace vk {

// x raised to y as a 32-bit float; 0 when x is 0. For a negative base the
// reciprocal 1 / |x|^y (no caller passes one).
float PowerOf(double x, float y);
// Vapour pressure of water, inHg.
double VaporPressure(float waterTemp);
// Dissolved-oxygen saturation of fresh water in air at 1 atm, mg/L
// (Benson and Krause). The third and fourth powers carry single precision.
double SatDO(float waterTemp);
// Specific weight of water, lb per cubic inch (psi per inch of depth).
double WaterSpecWeight(float waterTemp);

}  // namespace vk

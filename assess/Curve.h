#pragma once
// The re-aeration curve C(t) = Cinf - (Cinf - C0) * exp(-KLa * t) and its
// derivatives, the columns of the Jacobian:
//   dC/dC0   = exp(-KLa * t)
//   dC/dCinf = 1 - exp(-KLa * t)
//   dC/dKLa  = (Cinf - C0) * t * exp(-KLa * t)

#include <array>
#include <cmath>

namespace vk::assess {

// Parameters in this order wherever they are indexed.
enum Parameter : int { kC0 = 0, kCinf = 1, kKLa = 2 };
inline constexpr int kParameters = 3;

struct CurveParams {
  double c0 = 0;
  double cinf = 0;
  double kla = 0;  // per time unit of the readings (minutes)

  double operator[](int p) const { return p == kC0 ? c0 : p == kCinf ? cinf : kla; }
  double& operator[](int p) { return p == kC0 ? c0 : p == kCinf ? cinf : kla; }
};

inline double curveAt(const CurveParams& p, double t) { return p.cinf - (p.cinf - p.c0) * std::exp(-p.kla * t); }

inline std::array<double, kParameters> curveGradient(const CurveParams& p, double t) {
  const double decay = std::exp(-p.kla * t);
  return {decay, 1.0 - decay, (p.cinf - p.c0) * t * decay};
}

}  // namespace vk::assess

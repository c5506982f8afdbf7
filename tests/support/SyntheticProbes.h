#pragma once
// Probe readings made to order: the re-aeration curve plus reproducible
// Gaussian noise (Box-Muller on the standard Mersenne Twister, whose output
// the C++ standard fixes) and, when asked, a disturbance of their own.

#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

namespace vk::test {

struct ProbeShape {
  double c0 = 0.5;
  double cinf = 10.5;
  double kla = 0.25;  // per minute
  double noiseSd = 0.02;
  unsigned seed = 1;
  std::function<double(double t)> disturbance;  // added to the curve
};

inline std::vector<float> probeReadings(const std::vector<float>& times, const ProbeShape& shape) {
  std::mt19937 engine(shape.seed);
  auto uniform = [&engine] { return (double(engine()) + 0.5) / 4294967296.0; };
  std::vector<float> conc;
  for (float t : times) {
    const double gauss = std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
    double c = shape.cinf - (shape.cinf - shape.c0) * std::exp(-shape.kla * t) + shape.noiseSd * gauss;
    if (shape.disturbance) c += shape.disturbance(t);
    conc.push_back(static_cast<float>(c));
  }
  return conc;
}

// `count` readings `step` minutes apart from time 0.
inline std::vector<float> evenTimes(int count, double step) {
  std::vector<float> t;
  for (int i = 0; i < count; ++i) t.push_back(static_cast<float>(i * step));
  return t;
}

}  // namespace vk::test

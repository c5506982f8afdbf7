#pragma once
// The values every JSON document of the program is made of: numbers that are
// never NaN, "not applicable" with its reason, US and SI pairs, intervals.
// For the .cpp files of export/ only.

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "assess/Maybe.h"
#include "assess/Readings.h"
#include "assess/Units.h"

namespace vk::exporter::json {

using Json = nlohmann::ordered_json;  // keys in the order written, so the text is stable and readable

inline Json notApplicable(const std::string& reason) { return Json{{"not_applicable", reason}}; }

// Every number goes through here: the output never holds NaN or infinity.
inline Json num(double v) { return std::isfinite(v) ? Json(v) : notApplicable("not a finite number"); }

inline Json maybe(const assess::Maybe<double>& v) { return v ? num(*v) : notApplicable(v.reason); }

inline Json usSi(double us, assess::units::Dimension d) {
  return Json{{"us", num(us)}, {"si", num(assess::units::toSi(d, us))}};
}

inline Json interval(const assess::Interval& i) { return Json{{"low", num(i.low)}, {"high", num(i.high)}}; }

}  // namespace vk::exporter::json

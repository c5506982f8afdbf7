#pragma once
// The validity checklist: every check with its limits and their defaults, in
// one table. A limit with a key can be changed from a criteria file
// (docs/assessment-criteria.md); one without is the program's own. The
// defaults are the program's, not quotations of any standard.

#include <array>
#include <cstddef>
#include <iterator>

#include "assess/StandardBasis.h"

namespace vk::assess {

enum class CheckId {
  FitConverged,
  StartLevel,
  EndLevel,
  KeptReadings,
  KLaInterval,
  OptimumAgreement,
  ResidualsRandom,
  DepthPositive,
  WaterTemperature,
  ProbeSpread,
  ProbeOutlier,
  Truncation,
};

enum class Scope { Set, Test };
enum class Compare { AtMost, AtLeast, Below, Above };  // <=, >=, <, >: what the value must be
enum class Verdict { Pass, Warn, Fail, NotApplicable };

struct LimitRow {
  const char* key;       // in the criteria file; nullptr: not adjustable
  const char* quantity;  // what is measured
  const char* unit;
  Compare compare;
  double defaultLimit;
  Verdict onBreach;  // Warn or Fail
  bool wholeNumber = false;
};

struct CheckRow {
  CheckId id;
  const char* name;  // the check's id in the output
  const char* title;
  Scope scope;
  std::size_t limitCount;
  std::array<LimitRow, 2> limits;
};

// One row per check, laid out by hand so that each reads as a line of the table.
// clang-format off
inline constexpr CheckRow kCheckTable[] = {
    {CheckId::FitConverged, "fit-converged", "The fit converged within the pass limit", Scope::Set, 1,
     {{{nullptr, "fit passes (limit: the program's pass limit)", "passes", Compare::AtMost, 11, Verdict::Fail}}}},
    {CheckId::StartLevel, "start-level", "The start of the curve is in the data: the first kept reading is low against C-infinity",
     Scope::Set, 1,
     {{{"start_level_max_percent", "first kept reading / C-infinity", "%", Compare::AtMost, 20, Verdict::Warn}}}},
    {CheckId::EndLevel, "end-level", "The test ran long enough: the last reading is close to C-infinity",
     Scope::Set, 1,
     {{{"end_level_min_percent", "last reading / C-infinity", "%", Compare::AtLeast, 98, Verdict::Warn}}}},
    {CheckId::KeptReadings, "kept-readings", "Enough readings were kept for the fit", Scope::Set, 2,
     {{{"kept_readings_min", "kept readings", "readings", Compare::AtLeast, 20, Verdict::Warn, true},
       {"kept_readings_hard_min", "kept readings", "readings", Compare::AtLeast, 4, Verdict::Fail, true}}}},
    {CheckId::KLaInterval, "kla-interval", "KLa is well determined: its 95 % interval is narrow", Scope::Set, 1,
     {{{"kla_interval_max_percent", "half-width of the 95 % interval of KLa / KLa", "%", Compare::AtMost, 5,
        Verdict::Warn}}}},
    {CheckId::OptimumAgreement, "optimum-agreement",
     "The program's result agrees with the double-precision optimum in KLa and C-infinity", Scope::Set, 2,
     {{{"optimum_kla_max_difference_percent", "|KLa of the program - KLa of the optimum| / KLa of the optimum", "%",
        Compare::AtMost, 0.1, Verdict::Warn},
       {"optimum_cinf_max_difference_percent",
        "|C-infinity of the program - C-infinity of the optimum| / C-infinity of the optimum", "%", Compare::AtMost,
        0.1, Verdict::Warn}}}},
    {CheckId::ResidualsRandom, "residuals-random", "The residuals look random", Scope::Set, 2,
     {{{"runs_z_max", "|z| of the runs test on the residual signs", "", Compare::Below, 1.96, Verdict::Warn},
       {"lag1_autocorrelation_max", "lag-1 autocorrelation of the residuals", "", Compare::Below, 0.5,
        Verdict::Warn}}}},
    {CheckId::DepthPositive, "depth-positive",
     "C-infinity20 is above the surface saturation at 20 degrees C, so the effective depth is positive", Scope::Set, 1,
     {{{nullptr, "C-infinity20 (limit: surface saturation at 20 degrees C)", "mg/L", Compare::Above, basis::kSatDO20,
        Verdict::Warn}}}},
    {CheckId::WaterTemperature, "water-temperature",
     "The water temperature is in the range where the temperature correction is most certain", Scope::Test, 2,
     {{{"water_temp_min_c", "water temperature", "degrees C", Compare::AtLeast, 10, Verdict::Warn},
       {"water_temp_max_c", "water temperature", "degrees C", Compare::AtMost, 30, Verdict::Warn}}}},
    {CheckId::ProbeSpread, "probe-spread", "The probes agree: KLa20 and SOTR vary little between them",
     Scope::Test, 2,
     {{{"probe_cv_kla20_max_percent", "coefficient of variation of KLa20 between probes", "%", Compare::AtMost, 10,
        Verdict::Warn},
       {"probe_cv_sotr_max_percent", "coefficient of variation of SOTR between probes", "%", Compare::AtMost, 10,
        Verdict::Warn}}}},
    {CheckId::ProbeOutlier, "probe-outlier", "The probe's KLa20 lies close to the mean of the other probes",
     Scope::Set, 1,
     {{{"probe_outlier_max_sd", "|KLa20 - mean of the other probes| / their standard deviation", "SD",
        Compare::AtMost, 2, Verdict::Warn}}}},
    {CheckId::Truncation, "truncation", "KLa20 hardly changes when the start of the curve is cut at 20 % instead of 0 %",
     Scope::Set, 1,
     {{{"truncation_kla20_max_change_percent", "|change of KLa20 from the 0 % to the 20 % threshold| / KLa20 at 0 %",
        "%", Compare::Below, 2, Verdict::Warn}}}},
};
// clang-format on

inline constexpr std::size_t kCheckCount = std::size(kCheckTable);

// Criteria index the limits by CheckId: the table keeps the enum's order.
constexpr bool tableFollowsCheckIds() {
  for (std::size_t i = 0; i < kCheckCount; ++i)
    if (static_cast<std::size_t>(kCheckTable[i].id) != i) return false;
  return true;
}
static_assert(tableFollowsCheckIds(), "kCheckTable must list the checks in the order of CheckId");

const char* verdictName(Verdict v);    // "pass", "warn", "fail", "not applicable"
const char* compareSymbol(Compare c);  // "<=", ">=", "<", ">"

}  // namespace vk::assess

#include "assess/Criteria.h"

namespace vk::assess {

const char* verdictName(Verdict v) {
  switch (v) {
    case Verdict::Pass: return "pass";
    case Verdict::Warn: return "warn";
    case Verdict::Fail: return "fail";
    case Verdict::NotApplicable: return "not applicable";
  }
  return "";
}

const char* compareSymbol(Compare c) {
  switch (c) {
    case Compare::AtMost: return "<=";
    case Compare::AtLeast: return ">=";
    case Compare::Below: return "<";
    case Compare::Above: return ">";
  }
  return "";
}

Criteria::Criteria() {
  for (std::size_t c = 0; c < kCheckCount; ++c)
    for (std::size_t l = 0; l < kCheckTable[c].limitCount; ++l) limits_[c][l] = kCheckTable[c].limits[l].defaultLimit;
}

double Criteria::limit(CheckId id, std::size_t which) const {
  return limits_.at(static_cast<std::size_t>(id)).at(which);
}

bool Criteria::set(std::string_view key, double value) {
  for (std::size_t c = 0; c < kCheckCount; ++c)
    for (std::size_t l = 0; l < kCheckTable[c].limitCount; ++l) {
      const char* k = kCheckTable[c].limits[l].key;
      if (k && key == k) {
        limits_[c][l] = value;
        return true;
      }
    }
  return false;
}

}  // namespace vk::assess

#include "module1/Arrays.h"

namespace vk {

void raiseSubscript(const char* array, int index, int upper) {
  throw Fault(FaultKind::SubscriptOutOfRange,
              std::string(array) + ": index " + std::to_string(index) + " is outside 0 to " + std::to_string(upper) +
                  (index > upper && upper == kMaxSets ? " (a test has at most six data sets)" : ""));
}

void raiseSubscript2(const char* array, int set, int reading, int sets, int readings) {
  if (sets < 0)
    throw Fault(FaultKind::SubscriptOutOfRange,
                std::string(array) + " has not been dimensioned: read the data sets first");
  throw Fault(FaultKind::SubscriptOutOfRange, std::string(array) + ": (data set " + std::to_string(set) + ", reading " +
                                                  std::to_string(reading) + ") is outside (0 to " +
                                                  std::to_string(sets) + ", 0 to " + std::to_string(readings) + ")");
}

}  // namespace vk

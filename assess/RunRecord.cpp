#include "assess/RunRecord.h"

namespace vk::assess {

const char* stopReasonName(StopReason reason) {
  switch (reason) {
    case StopReason::StepsSmall: return "steps below tolerance";
    case StopReason::SumOfSquaresSettled: return "sum of squares settled";
    case StopReason::PassLimit: return "pass limit reached";
    case StopReason::NotRecorded: return "not recorded";
  }
  return "";
}

}  // namespace vk::assess

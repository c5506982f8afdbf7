#include "commands/CommitAfter.h"

#include "workbook/Workbook.h"

namespace vk::detail {

void commitWork(Module1& m) {
  if (m.DataBook) m.DataBook->commit();
}

void endAfterFault(Module1& m, const Fault& fault, AfterFault afterFault) {
  if (afterFault == AfterFault::WriteNothing) {
    if (m.DataBook) m.DataBook->discard();
  } else {
    try {
      commitWork(m);
    } catch (const Fault& save) {
      // Both texts without their kinds: the message names one kind, once.
      throw Fault(fault.kind(), fault.text() + "\nWhat was written could not be saved either: " + save.text(),
                  fault.detail() + (fault.detail().empty() || save.detail().empty() ? "" : "\n") + save.detail());
    }
  }
  throw;
}

}  // namespace vk::detail

#pragma once
// Every command ends by making what it wrote durable, also when a fault ends
// it early: cells already written stay written. The fault is then passed on
// to the screen or the batch tool that reports it.

#include <string>
#include <type_traits>

#include "module1/Fault.h"
#include "module1/Module1.h"
#include "workbook/Workbook.h"

namespace vk {

template <class Body>
auto commitAfter(Module1& m, Body body) -> decltype(body()) {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      if (m.DataBook) m.DataBook->commit();
    } else {
      auto result = body();
      if (m.DataBook) m.DataBook->commit();
      return result;
    }
  } catch (const Fault& fault) {
    if (m.DataBook) {
      try {
        m.DataBook->commit();
      } catch (const Fault& saveFault) {
        throw Fault(fault.kind(), fault.description() + "\nWhat was written could not be saved either: " +
                                      saveFault.description());
      }
    }
    throw;
  }
}

}  // namespace vk

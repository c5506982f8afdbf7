#pragma once
// The fault a call raises, for tests that check its kind and its words.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "module1/Fault.h"

namespace vk::test {

// Runs the call and returns the description of the fault it raised, and
// its kind through `kind` when asked for; a call that raises none fails the
// test.
template <class Call>
std::string faultOf(Call&& call, FaultKind* kind = nullptr) {
  try {
    std::forward<Call>(call)();
  } catch (const Fault& fault) {
    if (kind) *kind = fault.kind();
    return fault.description();
  }
  ADD_FAILURE() << "no fault was raised";
  return "no fault";
}

}  // namespace vk::test

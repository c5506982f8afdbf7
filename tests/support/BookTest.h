#pragma once
// A generated workbook's conditions and readings (templates/TestBooks.h) as a
// test for the program's own code (ProgramRecord.h), so that a report can be
// made of the sample and the test workbooks without reading the files.

#include <variant>

#include "templates/TestBooks.h"
#include "tests/support/ProgramRecord.h"

namespace vk::test {

inline ProgramTest bookTest(const books::TestBook& book) {
  auto number = [&](std::size_t i) {
    const double* v = std::get_if<double>(&book.conditions[i]);
    return v ? *v : 0.0;  // an empty cell reads 0
  };
  ProgramTest t;
  t.conditions = {number(2), number(3), number(4), number(5)};
  for (double time : book.times) t.times.push_back(static_cast<float>(time));
  for (const auto& probe : book.probes) {
    t.sets.emplace_back();
    for (double c : probe) t.sets.back().push_back(static_cast<float>(c));
  }
  return t;
}

}  // namespace vk::test

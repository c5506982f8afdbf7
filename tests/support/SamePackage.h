#pragma once
// Compares two workbook files by what they hold rather than by their bytes,
// so that a new version of the library that writes them, choosing another
// entry order, compression, attribute order or indentation, changes nothing:
// - the same parts;
// - the same content types and the same relationships, each as a set;
// - every XML part the same once parsed (names, attributes as sets, the
//   children and their text in order);
// - every other part the same bytes.

#include <gtest/gtest.h>

#include <string>

namespace vk::test {

// The archives' bytes; on a difference, says in which part and where.
::testing::AssertionResult samePackage(const std::string& expected, const std::string& actual);

}  // namespace vk::test

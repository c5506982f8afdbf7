#pragma once
// Numbers as text: the shortest form that reads back as the same double, the
// same on every run and in every locale.

#include <charconv>
#include <string>

namespace vk::exporter {

inline std::string shortest(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

}  // namespace vk::exporter

#pragma once
// Numbers in messages: the shortest text that reads back as the same value
// (40000, 0.1, 1e+308), never "40000.000000" nor hundreds of digits. A Single
// is written as the Single it is (0.1f gives "0.1").

#include <charconv>
#include <string>

namespace vk {

inline std::string numberText(double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

inline std::string numberText(float v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

}  // namespace vk

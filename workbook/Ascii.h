#pragma once
// ASCII letters and digits as file formats, addresses and names spell them.
// Unlike <cctype>, these do not depend on the process's locale, which the
// wizard takes from the user's environment.

#include <string>
#include <string_view>

namespace vk {

constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
constexpr char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

inline std::string asciiLowerCase(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = asciiLower(c);
  return s;
}

inline std::string asciiUpperCase(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = asciiUpper(c);
  return s;
}

constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

// 0 to 15 for '0'-'9', 'a'-'f' and 'A'-'F'; -1 for any other character.
constexpr int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace vk

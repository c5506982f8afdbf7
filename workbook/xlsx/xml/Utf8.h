#pragma once
// Characters written as UTF-8, the encoding of every part this engine reads
// and writes.

#include <string>

namespace vk::xlsx {

// Appends the character (at most U+10FFFF, not a surrogate) in one to four bytes.
void appendUtf8(std::string& out, char32_t character);

}  // namespace vk::xlsx

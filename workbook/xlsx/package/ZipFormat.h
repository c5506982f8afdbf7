#pragma once
// The records of a zip archive as the engine reads and writes them: local
// headers, the central directory and its end, and the Zip64 records of
// archives too large for 32-bit sizes. Numbers are little-endian.

#include <cstdint>
#include <string>
#include <string_view>

namespace vk::xlsx::zipformat {

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kCentralHeader = 0x02014b50;
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;
constexpr std::uint16_t kZip64Extra = 0x0001;
// A 32-bit field that holds this has its value in the Zip64 extra field.
constexpr std::uint32_t kInZip64 = 0xFFFFFFFF;

constexpr std::uint16_t kEncrypted = 1;
constexpr std::uint16_t kDataDescriptor = 1 << 3;
constexpr std::uint16_t kStored = 0;
constexpr std::uint16_t kDeflated = 8;
constexpr std::uint16_t kNeedsZip64 = 45;  // "version needed to extract"
constexpr std::uint16_t kNeedsDeflate = 20;

inline std::uint16_t u16(std::string_view b, std::size_t at) {
  return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}
inline std::uint32_t u32(std::string_view b, std::size_t at) {
  return u16(b, at) | std::uint32_t(u16(b, at + 2)) << 16;
}
inline std::uint64_t u64(std::string_view b, std::size_t at) {
  return u32(b, at) | std::uint64_t(u32(b, at + 4)) << 32;
}

inline void put16(std::string& out, std::uint32_t value) {
  out += char(value & 0xFF);
  out += char(value >> 8 & 0xFF);
}
inline void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// An extra field less its Zip64 record (the other records as they are).
std::string withoutZip64(std::string_view extra);

}  // namespace vk::xlsx::zipformat

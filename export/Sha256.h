#pragma once
// SHA-256 of a workbook as read, for the report's header. On libcrypto,
// which the embedded engine's libzip loads already, so the batch tool pays
// no extra library at start-up.

#include <string>
#include <string_view>

namespace vk::exporter {

// Lower-case hex.
std::string sha256Hex(std::string_view bytes);
// Throws std::runtime_error naming the file when it cannot be read.
std::string sha256OfFile(const std::string& path);

}  // namespace vk::exporter

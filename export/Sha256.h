#pragma once
// SHA-256 of a workbook as read, for the report's header. On nettle, which
// uses the processor's SHA instructions as libcrypto does but costs every
// start of the programs a tenth of what libcrypto's loading does.

#include <string>
#include <string_view>

namespace vk::exporter {

// Lower-case hex.
std::string sha256Hex(std::string_view bytes);
// Throws std::runtime_error naming the file when it cannot be read.
std::string sha256OfFile(const std::string& path);

}  // namespace vk::exporter

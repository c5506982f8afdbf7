#pragma once
// Dates stored as ISO 8601 text (cells of type "d") read as the serial
// numbers spreadsheets compute with.

#include <optional>
#include <string_view>

namespace vk::xlsx {

// "2024-03-01T10:30:00" -> 45352.4375; empty when the text is not such a date.
std::optional<double> serialFromIsoDate(std::string_view text, bool uses1904Dates);

}  // namespace vk::xlsx

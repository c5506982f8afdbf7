#pragma once
// The shared-string table: indexed once, each string's text extracted when a
// cell that refers to it is read.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "workbook/xlsx/package/Limits.h"

namespace vk::xlsx {

class SharedStrings {
 public:
  SharedStrings() = default;
  SharedStrings(std::string xml, std::string where, const Limits& limits);

  std::size_t size() const { return items_.size(); }
  // The text of string `index` (0-based, in range).
  std::string text(std::size_t index) const;

 private:
  std::string xml_;
  std::string where_;
  std::size_t maxDepth_ = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> items_;  // offset, length of each <si>
};

}  // namespace vk::xlsx

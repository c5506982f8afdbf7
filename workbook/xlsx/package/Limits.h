#pragma once
// Bounds on what a workbook file may make the engine read. A damaged or
// hostile file (a zip bomb, a million entries) fails with a clear fault
// instead of exhausting memory.

#include <cstddef>
#include <cstdint>

namespace vk::xlsx {

struct Limits {
  std::uint64_t maxFileSize = std::uint64_t(512) << 20;  // the workbook file itself
  std::size_t maxEntries = 20000;                        // zip entries
  std::uint64_t maxPartSize = std::uint64_t(512) << 20;  // one part, inflated
  std::uint64_t maxTotalSize = std::uint64_t(2) << 30;   // all parts read, inflated
  std::uint64_t maxTreeSize = std::uint64_t(32) << 20;   // XML read into a tree (all but cells)
  std::size_t maxDepth = 256;                            // XML element nesting
};

}  // namespace vk::xlsx

#pragma once
// What identifies one version of a file on disk, so that a save can tell
// whether the file is still the one that was read.

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>

namespace vk {

struct DiskStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  bool operator==(const DiskStamp& other) const;
  bool operator!=(const DiskStamp& other) const { return !(*this == other); }
};

DiskStamp stampFrom(const struct stat& st);

// The stamp of the file now; empty when it does not exist.
std::optional<DiskStamp> stampOf(const std::string& path);

}  // namespace vk

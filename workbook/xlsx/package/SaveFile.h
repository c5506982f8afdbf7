#pragma once
// The workbook file on disk: noticing when another program changed it or
// holds it open, and replacing it so that a failure at any moment leaves
// either the old file or the new one, never a mix.

#include <sys/types.h>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vk::xlsx {

// What identifies one version of a file on disk.
struct DiskStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  bool operator==(const DiskStamp& other) const;
  bool operator!=(const DiskStamp& other) const { return !(*this == other); }
};

// The stamp of the file now; empty when it does not exist.
std::optional<DiskStamp> stampOf(const std::string& path);

// The file's bytes and the stamp of the version read, in one go.
std::string readWorkbookFile(const std::string& path, std::uint64_t maxSize, DiskStamp& stamp);

// The lock file another program keeps beside a workbook it has open
// (".~lock.NAME#" of LibreOffice, "~$NAME" of Excel), if there is one.
std::optional<std::string> foreignLockFile(const std::string& path);

// The steps of a save, at which tests make it fail or end the process.
enum class SaveStage { TemporaryCreated, HalfWritten, Written, Synced, Renamed };
void setSaveHook(std::function<void(SaveStage)> hook);

// Replaces the file by `bytes`: written to a temporary file in the same
// folder with the file's permissions and owner, flushed to disk, and renamed
// over the file. Returns the stamp of the new file.
DiskStamp replaceFile(const std::string& path, std::string_view bytes);

}  // namespace vk::xlsx

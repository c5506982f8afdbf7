#pragma once
// A new version of a file, written beside it under a short temporary name
// and put in its place by one rename: a failure or a kill at any moment
// leaves the old file or the whole new one, never a mix.
//
// The temporary name carries an id of the file's name, and is short however
// long that name is (up to the 255 bytes a name may have). So a temporary
// file left by a killed save is recognised, and removed by the next save of
// the same file; the caller holds the file's writer lock while it saves, so
// no other save of that file is under way.

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/file/DiskStamp.h"

namespace vk {

// The steps of a save, at which tests make it fail or end the process.
enum class SaveStage { TemporaryCreated, HalfWritten, Written, Synced, Renamed };
void setSaveHook(std::function<void(SaveStage)> hook);
void reachSaveStage(SaveStage stage);

// The start of every temporary name of the file named `fileName`: a dot, the
// name's first bytes, ".saving-" and eight hex digits of a hash of the whole
// name, then "-"; six random characters follow.
std::string temporaryPrefix(const std::string& fileName);

class Replacement {
 public:
  // Removes the temporary files earlier saves of `target` left behind and
  // creates an empty one beside it.
  explicit Replacement(std::string target);
  // Removes the temporary file unless it was put in place.
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  const std::string& temporaryPath() const { return temporary_; }
  void write(std::string_view bytes);
  // Writes at an offset of the temporary file, over what is there or past its end.
  void writeAt(std::uint64_t offset, std::string_view bytes);
  // Gives the temporary file the permissions of `like` (and its owner when
  // `sameOwner` and this process may), flushes it to disk and closes it.
  // Whatever wrote it: this object or another program told its path.
  void finish(const struct stat& like, bool sameOwner);
  // Renames the temporary file over the target if the target is still the
  // version `expected` (nullopt: still no file), and flushes the folder.
  // False, with nothing renamed, when the target changed.
  [[nodiscard]] bool putInPlace(const std::optional<DiskStamp>& expected);

 private:
  void removeTemporary();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool inPlace_ = false;
};

}  // namespace vk

#pragma once
// An unnamed temporary file that the long middle of a report is written into
// as it grows, and copied from when the report is put together, so that
// memory does not grow with it. It has no name on disk: nothing is left
// behind, also when the process is killed.

#include <iosfwd>
#include <string>

#include "export/FdStream.h"

namespace vk::exporter {

class SpoolFile {
 public:
  // In `folder` (where the report goes, so on its disk rather than in a
  // memory-backed /tmp); a std::runtime_error naming the folder when it
  // cannot be made there.
  explicit SpoolFile(const std::string& folder);
  ~SpoolFile();
  SpoolFile(const SpoolFile&) = delete;
  SpoolFile& operator=(const SpoolFile&) = delete;

  std::ostream& stream() { return stream_; }
  // Everything written so far, appended to `out`; a std::runtime_error when
  // a write or the read back failed.
  void copyTo(std::ostream& out);

 private:
  std::string folder_;
  int fd_;
  FdStream stream_;
};

}  // namespace vk::exporter

#pragma once
// A report file on disk: written whole or not at all. It is made beside its
// final name and renamed over it, so that a reader, or a crash, never sees
// half a report, and an earlier report stays until the new one is complete.

#include <string>
#include <string_view>

namespace vk::exporter {

// Refuses (std::runtime_error naming the folder) a folder that is read-only,
// by its permission bits as well as for this process, since the superuser
// may write anything; a folder that is missing is refused too. Checked
// before anything is written.
void checkFolderWritable(const std::string& path);

// Writes `bytes` as the file `path` after checkFolderWritable; any failure
// is a std::runtime_error naming the file, and leaves no temporary file.
void writeReportFile(const std::string& path, std::string_view bytes);

}  // namespace vk::exporter

#pragma once
// A report file on disk: written whole or not at all. It is made beside its
// final name and renamed over it, so that a reader, or a crash, never sees
// half a report, and an earlier report stays until the new one is complete.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace vk::exporter {

// Refuses (std::runtime_error naming the folder) a folder that is read-only,
// by its permission bits as well as for this process, since the superuser
// may write anything; a folder that is missing is refused too. Checked
// before anything is written.
void checkFolderWritable(const std::string& path);

// A report written in full beside its final name, put in place only by
// publish(): a run that writes a workbook and its reports stages the reports
// before the workbook is saved and publishes them after, so that a fault
// anywhere before the save leaves neither. Any failure is a
// std::runtime_error naming the file; an unpublished file is removed.
class StagedReportFile {
 public:
  // Checks the folder (checkFolderWritable), then writes and flushes `bytes`.
  StagedReportFile(std::string path, std::string_view bytes);
  // The same with the bytes `write` puts into the stream, written as they
  // come; whatever `write` throws is passed on, the file removed.
  StagedReportFile(std::string path, const std::function<void(std::ostream&)>& write);
  ~StagedReportFile();
  StagedReportFile(StagedReportFile&& other) noexcept;
  StagedReportFile& operator=(StagedReportFile&&) = delete;
  StagedReportFile(const StagedReportFile&) = delete;
  StagedReportFile& operator=(const StagedReportFile&) = delete;

  // Renames the staged file over `path`.
  void publish();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string temporary_;
};

// Stages and publishes `bytes` as the file `path` at once.
void writeReportFile(const std::string& path, std::string_view bytes);

}  // namespace vk::exporter

#pragma once
// The wizard's test report: the HTML report of the last Run, written beside
// the workbook as its file name with ".report.html" appended, whole or not
// at all; a read-only folder is refused before anything is written.

#include <string>

#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "module1/Module1.h"

namespace vk {

// What the report needs of the Reading besides the module: its summary, and
// the workbook's SHA-256 taken just before it read the workbook (empty when
// the file could not be read).
struct ReadingForReport {
  ReadingSummary summary;
  std::string workbookSha256;
};

// "/lab/sample.xlsx" -> "/lab/sample.xlsx.report.html"
std::string reportPathFor(const std::string& workbookPath);

// The SHA-256 of the workbook file as it is now; empty when it cannot be read.
std::string workbookSha256(const std::string& workbookPath);

// Assesses the Run with the full truncation curve and writes its report
// beside the workbook; returns the report's path. Throws std::runtime_error
// naming the folder or the file when it cannot be written.
std::string writeTestReport(const Module1& m, const RunSummary& run, const ReadingForReport& reading);

}  // namespace vk

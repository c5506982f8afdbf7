#pragma once
// The batch tool's assessment of a Run and its report files (--json, --csv,
// --html, --criteria, --strict). The checks that did not pass are listed
// after the results table; report files are written once the analysis has
// succeeded, each whole or not at all.

#include <iosfwd>
#include <optional>
#include <string>

#include "assess/Criteria.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"

namespace vk {

// A check failed under --strict; below a usage error (2) and a fault (1).
inline constexpr int kExitCheckFailed = 3;

struct ReportOptions {
  std::optional<std::string> json;  // "-": standard output
  std::optional<std::string> csv;
  std::optional<std::string> html;
  std::optional<std::string> criteria;
  bool strict = false;

  bool jsonToStandardOutput() const { return json && *json == "-"; }
  // The full truncation curve is worth its cost only in a report that shows it.
  bool fullTruncationCurve() const { return json || html; }
};

// The usage error of the report options, empty when there is none: "-" for
// another report than the JSON, a report file that is the workbook or its
// copy, or two reports to one file.
std::string reportOptionsError(const ReportOptions& report, const std::string& workbook,
                               const std::optional<std::string>& copy);

// Before anything is read or written: the criteria file (a usage error, 2)
// and the folders the report files go to (a fault, 1). Prints why on `err`
// and returns the exit status, or 0 with `criteria` set.
int prepareReports(const ReportOptions& report, assess::Criteria& criteria, std::ostream& err);

// What a report's header tells of the workbook, taken before the analysis
// writes to it; the SHA-256 only when a report has a header.
struct AnalysedWorkbook {
  std::string engine;
  std::string name;
  std::string sha256;  // empty when not taken or the file cannot be read
};
AnalysedWorkbook describeWorkbook(const std::string& path, const std::string& engine, const ReportOptions& report);

// Assesses the Run, lists on `err` the checks that did not pass, and writes
// the report files (the JSON on `out` for "-"). Returns the exit status: 1
// when a report file could not be written, kExitCheckFailed when --strict
// and a check failed, else 0.
int reportOn(const RunSummary& run, const ReadingSummary& reading, const AnalysedWorkbook& workbook,
             const ReportOptions& report, const assess::Criteria& criteria, std::ostream& out, std::ostream& err);

}  // namespace vk

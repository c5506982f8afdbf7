#pragma once
// The batch tool's assessment of a Run and its report files (--json, --csv,
// --html, --criteria, --strict). The checks that did not pass are listed
// after the results table; report files are written once the analysis has
// succeeded, each whole or not at all.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "apps/batch/ExitStatus.h"
#include "assess/Assessment.h"
#include "assess/Criteria.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "export/JsonReport.h"
#include "export/ReportFile.h"

namespace vk {

struct ReportOptions {
  std::optional<std::string> json;  // "-": standard output
  std::optional<std::string> csv;
  std::optional<std::string> html;
  std::optional<std::string> criteria;
  bool strict = false;
  // One workbook of a campaign whose --json or --html holds every test.
  bool inCampaignReport = false;

  bool jsonToStandardOutput() const { return json && *json == "-"; }
  // A report whose text is made before the workbook is written, and whose
  // making may fail, which must then leave the workbook as it was.
  bool makesReportText() const { return json || csv || html; }
  // A report that names the workbook and shows the whole test.
  bool hasHeader() const { return json || html || inCampaignReport; }
  // The full truncation curve is worth its cost only in a report that shows it.
  bool fullTruncationCurve() const { return hasHeader(); }
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

// The assessment of a Run and its report files, staged while the analysis
// is still one transaction and published once the workbook is written.
struct PreparedReports {
  exporter::ReportHeader header;
  assess::RunRecord record;
  assess::Assessment assessment;
  std::vector<std::string> checkLines;  // the checks that warned or failed
  bool checkFailed = false;
  std::string standardOutput;  // the JSON for --json -
  std::vector<exporter::StagedReportFile> files;
};

// Assesses the Run and stages the report files; a file that cannot be
// staged is a Workbook fault naming it, so that nothing is written.
PreparedReports stageReports(const RunSummary& run, const ReadingSummary& reading, const AnalysedWorkbook& workbook,
                             const ReportOptions& report, const assess::Criteria& criteria);

// Lists the checks that did not pass on `err`, writes the JSON to `out` for
// "-" and puts the report files in place. Returns the exit status: kExitFault
// when a report file could not be put in place (the workbook is written),
// kExitCheckFailed when --strict and a check failed, else kExitAnalysed.
int publishReports(PreparedReports& prepared, const ReportOptions& report, std::ostream& out, std::ostream& err);

}  // namespace vk

#pragma once
// The batch tool: Open, Reading and Run on one workbook, as a user who clicks
// through the wizard would, with the start thresholds given on the command
// line in place of the default ones. The whole analysis is one transaction:
// the workbook is written once, at the end, and only when all of it
// succeeded.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "apps/batch/ExitStatus.h"
#include "apps/batch/ReportOutputs.h"
#include "workbook/Workbook.h"

namespace vk {

struct BatchOptions {
  std::string workbook;                  // the one workbook RunBatch analyses
  std::vector<std::string> inputs;       // every WORKBOOK or FOLDER given (Campaign.h)
  std::optional<std::string> output;     // write the analysed workbook there instead
  std::optional<std::string> outputDir;  // several workbooks: their copies there, under their own names
  bool force = false;                    // let --output or --output-dir replace an existing file
  bool recursive = false;                // a FOLDER's sub-folders too
  std::optional<unsigned> jobs;          // workbooks analysed at once; the cores when not given
  bool progress = false;                 // not an option: main() sets it when the error output is a terminal
  std::string engine = "embedded";       // or "libreoffice"
  // Start thresholds in percent, one per data set; nullopt clears the cell.
  std::optional<std::vector<std::optional<double>>> thresholds;
  ReportOptions report;
  // Faults also with what the spreadsheet engine reported in its own terms.
  bool verbose = false;
  bool help = false;
  bool version = false;
};

// The most workbooks analysed at once: each holds a lock file, and an
// interrupted run removes at most 64 (workbook/file/InterruptedRun.cpp).
inline constexpr unsigned kMostJobs = 64;

// Parses the arguments after the program name; nullopt with `error` set on a
// usage error.
std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args, std::string& error);

// The usage with the options and the exit statuses.
std::string BatchUsage();
// "velm-kalix-batch VERSION".
std::string BatchVersion();

// Runs the analysis; prints the summary to `out` (to `err` when the JSON
// goes to `out`), warnings, faults and the checks that did not pass to
// `err`. Returns the exit status: kExitAnalysed; kExitFault with the file
// left as it was (and no copy made); kExitUsage for a criteria file that
// cannot be used; kExitCheckFailed for a failed check under --strict.
int RunBatch(const BatchOptions& options, std::shared_ptr<WorkbookEngine> engine, std::ostream& out, std::ostream& err);

// What a campaign keeps of one workbook's analysis.
struct AnalysisOutcome {
  std::string fault;  // what went wrong, as printed; empty when the workbook was analysed and written
  std::optional<PreparedReports> reports;  // the header, the Run's record and its assessment
  std::optional<double> submergenceFt;     // the diffuser's submergence the workbook gives
};

// RunBatch on one workbook of a campaign: with the criteria read once for
// all, no report files of its own, and the diffuser's submergence read
// inside the analysis.
int RunBatchInCampaign(const BatchOptions& options, const assess::Criteria& criteria,
                       std::shared_ptr<WorkbookEngine> engine, std::ostream& out, std::ostream& err,
                       AnalysisOutcome& outcome);

}  // namespace vk

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
  std::string workbook;
  std::optional<std::string> output;  // write the analysed workbook there instead
  bool force = false;                 // let --output replace an existing file
  std::string engine = "embedded";    // or "libreoffice"
  // Start thresholds in percent, one per data set; nullopt clears the cell.
  std::optional<std::vector<std::optional<double>>> thresholds;
  ReportOptions report;
  // Faults also with what the spreadsheet engine reported in its own terms.
  bool verbose = false;
  bool help = false;
  bool version = false;
};

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

}  // namespace vk

#pragma once
// The batch tool: Open, Reading and Run on one workbook, as a user who clicks
// through the wizard would, with the start thresholds given on the command
// line in place of the default ones.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "apps/batch/ReportOutputs.h"
#include "workbook/Workbook.h"

namespace vk {

struct BatchOptions {
  std::string workbook;
  std::optional<std::string> output;  // work on a copy
  std::string engine = "embedded";    // or "libreoffice"
  // Start thresholds in percent, one per data set; nullopt clears the cell.
  std::optional<std::vector<std::optional<double>>> thresholds;
  ReportOptions report;
  // Faults also with what the spreadsheet engine reported in its own terms.
  bool verbose = false;
};

// Parses the arguments after the program name; nullopt with `error` set on a
// usage error.
std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args, std::string& error);

const char* BatchUsage();

// Runs the analysis; prints the summary to `out` (to `err` when the JSON
// goes to `out`), warnings, faults and the checks that did not pass to
// `err`. Returns the exit status: 0 success, 1 a fault, 2 a criteria file
// that cannot be used, 3 a failed check under --strict.
int RunBatch(const BatchOptions& options, std::shared_ptr<WorkbookEngine> engine, std::ostream& out, std::ostream& err);

}  // namespace vk

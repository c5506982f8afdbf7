#pragma once
// The Open command of the workbook-choice screen ("Open", or a double click
// on a file): records the chosen workbook, attaches to it, blanks every area
// an earlier analysis filled, resets the start thresholds and shows sheet 1.

#include <string>

#include "commands/Feedback.h"
#include "module1/Module1.h"

namespace vk {

// The full path of a file in a directory: a directory that already ends in
// the separator (the root) gets no second one.
std::string BuildWorkbookPath(const std::string& directory, const std::string& fileName);

// directory: the directory list's path; selectedFile: the file list's
// selected entry (empty when none). Saves the workbook at its end, also
// after a fault, and rethrows the fault.
void OpenWorkbook(Module1& m, Feedback& screen, const std::string& directory, const std::string& selectedFile);

}  // namespace vk

#pragma once
// A workbook of the test data, copied to a temporary folder and put through
// what the commands do to a workbook: the Open command's clears and resets,
// an initial analysis on sheet 2, results on sheet 3, "Redraw", and a save.

#include <map>
#include <string>
#include <tuple>

#include "module1/Variant.h"
#include "tests/workbook/xlsx/XlsxFiles.h"

namespace vk::xlsxtest {

// The source tree, for the test data.
std::string sourcePath(const std::string& relative);

struct EditedCopy {
  std::string path;                                      // the edited copy
  std::string original;                                  // its bytes before the edits
  std::map<std::tuple<int, int, int>, Variant> written;  // (sheet, row, column) -> value
};

// Copies `source` into `dir` under `name` and edits it as the commands would.
EditedCopy editLikeTheCommands(const TempDir& dir, const std::string& source, const std::string& name);

// Parts whose entries may differ after such an edit: the sheets, the workbook
// part, and the parts that list the calculation chain.
bool mayChange(const std::string& entryName);

}  // namespace vk::xlsxtest

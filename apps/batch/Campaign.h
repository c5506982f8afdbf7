#pragma once
// The batch tool on what it is given: WORKBOOK... or FOLDER. One workbook is
// analysed by RunBatch as it always was. Several are a campaign: each is
// still one transaction in its own file with its own Module1, up to --jobs of
// them at a time, and what they print and the reports show comes in the
// workbooks' order, whatever the order their analyses end in. A fault in one
// is named with its reason and the others go on; the exit status is 1 when
// any faulted, else 3 when a check failed under --strict, else 0.

#include <functional>
#include <iosfwd>
#include <memory>

#include "apps/batch/BatchTool.h"

namespace vk {

// Where each analysis gets its engine. The embedded engine makes one per
// workbook, so that analyses on several threads share nothing; LibreOffice
// serves the whole campaign from one office, one document at a time.
struct BatchEngines {
  std::function<std::shared_ptr<WorkbookEngine>()> make;
  std::function<void()> afterEach;  // after each workbook of a campaign (may be empty)
  bool oneAtATime = false;
};

int RunWorkbooks(const BatchOptions& options, const BatchEngines& engines, std::ostream& out, std::ostream& err);

}  // namespace vk

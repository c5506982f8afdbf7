#pragma once
// The per-probe summary as CSV for spreadsheets: one header row, then one
// row per set. A figure that is not applicable is an empty cell.

#include <iosfwd>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"

namespace vk::exporter {

void writeCsv(std::ostream& out, const assess::RunRecord& record, const assess::Assessment& assessment);

}  // namespace vk::exporter

#pragma once
// A campaign's summary as CSV for spreadsheets: one header row, then one row
// per workbook in the summary's order. A figure that is not applicable is an
// empty cell; a workbook that faulted has its fault and no figures.

#include <iosfwd>
#include <vector>

#include "campaign/PerformanceCurve.h"

namespace vk::exporter {

void writeCampaignCsv(std::ostream& out, const std::vector<campaign::CampaignRow>& rows,
                      const campaign::CampaignCurves& curves);

}  // namespace vk::exporter

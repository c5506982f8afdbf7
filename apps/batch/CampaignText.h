#pragma once
// A campaign's summary as the batch tool prints it after the workbooks' own
// tables: one line per workbook, then why the workbooks may not be one
// campaign, and the curves.

#include <iosfwd>
#include <vector>

#include "campaign/PerformanceCurve.h"

namespace vk {

void printCampaignSummary(const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves,
                          std::ostream& out);

}  // namespace vk

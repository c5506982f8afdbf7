#pragma once
// The two pages of a campaign report before its tests (CampaignReport.h).

#include <iosfwd>
#include <vector>

#include "campaign/PerformanceCurve.h"
#include "export/JsonReport.h"

namespace vk::exporter::html {

void writeCampaignSummaryPage(std::ostream& out, const CampaignHeader& header,
                              const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves);
void writeCampaignCurvesPage(std::ostream& out, const std::vector<campaign::CampaignRow>& rows,
                             const campaign::CampaignCurves& curves);

}  // namespace vk::exporter::html

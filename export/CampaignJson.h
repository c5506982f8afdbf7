#pragma once
// A campaign as a JSON document of the schema's campaign type
// (docs/assessment.schema.json): its header, the summary row of every
// workbook, the performance curves, and last every test's own assessment
// document, which the caller streams in so that they need not be held.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "campaign/PerformanceCurve.h"
#include "export/JsonReport.h"

namespace vk::exporter {

// `writeTests` writes the members of the "tests" array: documents made by
// campaignTestJson, separated by ",\n".
void writeCampaignJson(std::ostream& out, const CampaignHeader& header, const std::vector<campaign::CampaignRow>& rows,
                       const campaign::CampaignCurves& curves, const std::function<void(std::ostream&)>& writeTests);

// One test's assessment document, indented to its place in "tests".
std::string campaignTestJson(const ReportHeader& header, const assess::RunRecord& record,
                             const assess::Assessment& assessment);

}  // namespace vk::exporter

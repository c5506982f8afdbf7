#include "export/html/CampaignReport.h"

#include <ostream>

#include "export/html/CampaignSections.h"
#include "export/html/HtmlReport.h"

namespace vk::exporter {

namespace {

// The summary's tables may be longer than a page; warnings stand out.
const char* const kCampaignStyle = R"(
section.page.flowing { break-inside: auto; }
table.campaign td.name { overflow-wrap: anywhere; }
table.campaign tr { break-inside: avoid; }
p.warning { background: #ffecb3; color: #6d4c00; padding: 1mm 2mm; border-radius: 1mm; }
)";

}  // namespace

void writeCampaignHead(std::ostream& out) { writeHtmlHead(out, "Test campaign report", kCampaignStyle); }

void writeCampaignSection(std::ostream& out, const CampaignHeader& header,
                          const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves) {
  html::writeCampaignSummaryPage(out, header, rows, curves);
  html::writeCampaignCurvesPage(out, rows, curves);
}

}  // namespace vk::exporter

#pragma once
// The report of a test campaign as one self-contained HTML file: its summary
// and the performance curves first, then every test as in the test report.
// It is written as it goes, so that the tests can be streamed in from where
// they were put while the campaign ran:
//
//   writeCampaignHead(out);
//   writeCampaignSection(out, header, rows, curves);
//   for (each test) writeTestSection(out, header, record, assessment);  // HtmlReport.h
//   writeBasisSection(out);
//   writeHtmlTail(out);
//
// Printed on A4, the campaign takes kCampaignFrontPages pages before the
// tests' own, the summary and the curves, as long as its tables have at most
// kCampaignRowsOnAPage workbooks; more flow onto further pages.

#include <cstddef>
#include <iosfwd>
#include <vector>

#include "campaign/PerformanceCurve.h"
#include "export/JsonReport.h"

namespace vk::exporter {

inline constexpr std::size_t kCampaignFrontPages = 2;
inline constexpr std::size_t kCampaignRowsOnAPage = 12;

// The document's start with the campaign's additions to the style sheet.
void writeCampaignHead(std::ostream& out);
// The summary page and the curves page.
void writeCampaignSection(std::ostream& out, const CampaignHeader& header,
                          const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves);

}  // namespace vk::exporter

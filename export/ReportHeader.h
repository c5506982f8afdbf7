#pragma once
// The header of a report made now: this program's version and the analysis
// time beside what the caller knows of the workbook.

#include <chrono>
#include <string>

#include "export/JsonReport.h"

namespace vk::exporter {

// UTC, ISO 8601 to the second: "2024-05-01T10:00:00Z".
std::string utcTimestamp(std::chrono::system_clock::time_point when);

// `workbookSha256` empty when the file could not be read.
ReportHeader reportHeaderNow(std::string engine, std::string workbookName, std::string workbookSha256);
CampaignHeader campaignHeaderNow(std::string engine);

}  // namespace vk::exporter

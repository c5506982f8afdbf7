#pragma once
// The assessment as a JSON document that follows docs/assessment.schema.json.
// Given the same inputs the text is the same byte for byte: the analysis
// time is the only input that changes between two runs on one workbook.

#include <iosfwd>
#include <string>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"

namespace vk::exporter {

// The version of docs/assessment.schema.json that the output follows.
inline constexpr const char* kSchemaVersion = "1.1.0";

struct ReportHeader {
  std::string programVersion;
  std::string analysisTime;  // as the caller formats it, ISO 8601
  std::string engine;        // the workbook engine the Run used
  std::string workbookName;
  std::string workbookSha256;  // lower-case hex of the file as read; empty when not known
};

// The header of a campaign's report: the workbooks have headers of their own.
struct CampaignHeader {
  std::string programVersion;
  std::string analysisTime;
  std::string engine;
};

std::string assessmentJson(const ReportHeader& header, const assess::RunRecord& record,
                           const assess::Assessment& assessment);
void writeJson(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
               const assess::Assessment& assessment);

}  // namespace vk::exporter

#include "export/ReportHeader.h"

#include <ctime>

namespace vk::exporter {

std::string utcTimestamp(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

ReportHeader reportHeaderNow(std::string engine, std::string workbookName, std::string workbookSha256) {
  return {VK_PROGRAM_VERSION, utcTimestamp(std::chrono::system_clock::now()), std::move(engine),
          std::move(workbookName), std::move(workbookSha256)};
}

CampaignHeader campaignHeaderNow(std::string engine) {
  return {VK_PROGRAM_VERSION, utcTimestamp(std::chrono::system_clock::now()), std::move(engine)};
}

}  // namespace vk::exporter

#include "apps/batch/CampaignReports.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>

#include "export/CampaignCsv.h"
#include "export/CampaignJson.h"
#include "export/ReportHeader.h"
#include "export/html/CampaignReport.h"
#include "export/html/HtmlReport.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

// The spool goes where its report goes; the standard output's to the
// temporary folder.
std::string spoolFolder(const std::string& report) {
  if (report == "-") return fs::temp_directory_path().string();
  const std::string folder = fs::path(report).parent_path().string();
  return folder.empty() ? "." : folder;
}

}  // namespace

CampaignReports::CampaignReports(const ReportOptions& report, const std::string& engine)
    : report_(report), header_(exporter::campaignHeaderNow(engine)) {
  if (report.html) html_ = std::make_unique<exporter::SpoolFile>(spoolFolder(*report.html));
  if (report.json) json_ = std::make_unique<exporter::SpoolFile>(spoolFolder(*report.json));
}

CampaignReports::TestParts CampaignReports::render(const PreparedReports& test) const {
  TestParts parts;
  if (html_) {
    std::ostringstream html;
    exporter::writeTestSection(html, test.header, test.record, test.assessment);
    parts.html = html.str();
  }
  if (json_) parts.json = exporter::campaignTestJson(test.header, test.record, test.assessment);
  return parts;
}

void CampaignReports::add(const TestParts& parts) {
  if (html_) html_->stream() << parts.html;
  if (json_ && !parts.json.empty()) {  // a workbook that faulted has no test
    json_->stream() << (firstJson_ ? "" : ",\n") << parts.json;
    firstJson_ = false;
  }
}

int CampaignReports::finish(const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves,
                            std::ostream& out, std::ostream& err) {
  const auto writeJson = [&](std::ostream& o) {
    exporter::writeCampaignJson(o, header_, rows, curves, [&](std::ostream& tests) { json_->copyTo(tests); });
  };
  std::vector<exporter::StagedReportFile> files;
  try {
    if (report_.html)
      files.emplace_back(*report_.html, [&](std::ostream& o) {
        exporter::writeCampaignHead(o);
        exporter::writeCampaignSection(o, header_, rows, curves);
        html_->copyTo(o);
        exporter::writeBasisSection(o);
        exporter::writeHtmlTail(o);
      });
    if (report_.json && !report_.jsonToStandardOutput()) files.emplace_back(*report_.json, writeJson);
    if (report_.csv)
      files.emplace_back(*report_.csv, [&](std::ostream& o) { exporter::writeCampaignCsv(o, rows, curves); });
    if (report_.jsonToStandardOutput()) {
      writeJson(out);
      out.flush();
    }
  } catch (const std::runtime_error& e) {
    err << e.what() << "\nThe workbooks analysed were written; the campaign's report files were not.\n";
    return kExitFault;
  }
  for (exporter::StagedReportFile& file : files) {
    try {
      file.publish();
    } catch (const std::runtime_error& e) {
      err << e.what() << "\nThe workbooks analysed were written; the report files before this one are in place.\n";
      return kExitFault;
    }
  }
  return kExitAnalysed;
}

}  // namespace vk

#include "forms/TestReport.h"

#include <sstream>

#include "assess/Assessment.h"
#include "commands/ProgramTrimming.h"
#include "commands/RunRecordOf.h"
#include "export/ReportFile.h"
#include "export/ReportHeader.h"
#include "export/Sha256.h"
#include "export/html/HtmlReport.h"
#include "workbook/Workbook.h"

namespace vk {

std::string reportPathFor(const std::string& workbookPath) { return workbookPath + ".report.html"; }

std::string workbookSha256(const std::string& workbookPath) {
  try {
    return exporter::sha256OfFile(workbookPath);
  } catch (const std::exception&) {
    return {};  // the report says "not known"
  }
}

std::string writeTestReport(const Module1& m, const RunSummary& run, const ReadingForReport& reading) {
  const std::string path = reportPathFor(m.WorkbookPath);
  exporter::checkFolderWritable(path);
  const assess::RunRecord record = runRecordOf(run, reading.summary);
  const assess::Assessment assessment = assess::assess(record, assess::Criteria(), {trimWithProgram, true});
  const exporter::ReportHeader header =
      exporter::reportHeaderNow(m.Engine ? m.Engine->name() : std::string(), m.WorkbookName, reading.workbookSha256);
  std::ostringstream html;
  exporter::writeHtmlReport(html, header, record, assessment);
  exporter::writeReportFile(path, html.str());
  return path;
}

}  // namespace vk

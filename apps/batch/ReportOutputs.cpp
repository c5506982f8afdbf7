#include "apps/batch/ReportOutputs.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <sstream>
#include <vector>

#include "assess/Assessment.h"
#include "commands/ProgramTrimming.h"
#include "commands/RunRecordOf.h"
#include "export/CsvSummary.h"
#include "export/JsonReport.h"
#include "export/ReportFile.h"
#include "export/ReportHeader.h"
#include "export/Sha256.h"
#include "export/html/HtmlReport.h"
#include "module1/Fault.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

struct NamedFile {
  const char* option;
  const std::optional<std::string>& path;
};

std::vector<NamedFile> reportFiles(const ReportOptions& report) {
  return {{"--json", report.json}, {"--csv", report.csv}, {"--html", report.html}};
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::weakly_canonical(fs::absolute(a), ec) == fs::weakly_canonical(fs::absolute(b), ec);
}

std::string figure(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", v);
  return text;
}

// "warn: data set 3: end-level: The test ran long enough: ... (last reading
// / C-infinity 80.12 %, must be >= 98 %)"
std::string checkLine(const assess::CheckResult& c) {
  std::string line = std::string(assess::verdictName(c.verdict)) + ": " +
                     (c.set > 0 ? "data set " + std::to_string(c.set) : std::string("the test")) + ": " + c.row->name +
                     ": " + c.row->title;
  std::string why;
  if (c.row->id == assess::CheckId::FitConverged) {
    why = "it did not converge in " + figure(c.measurements.front().limit) + " passes";
  } else {
    for (const assess::Measurement& m : c.measurements) {
      if (!m.value || m.met) continue;
      const std::string unit = m.row->unit[0] ? std::string(" ") + m.row->unit : std::string();
      why += (why.empty() ? "" : "; ") + std::string(m.row->quantity) + " " + figure(*m.value) + unit + ", must be " +
             assess::compareSymbol(m.row->compare) + " " + figure(m.limit) + unit;
    }
  }
  return line + " (" + why + ")";
}

std::string text(const std::function<void(std::ostream&)>& write) {
  std::ostringstream out;
  write(out);
  return out.str();
}

}  // namespace

std::string reportOptionsError(const ReportOptions& report, const std::string& workbook,
                               const std::optional<std::string>& copy) {
  const std::vector<NamedFile> files = reportFiles(report);
  for (std::size_t k = 0; k < files.size(); ++k) {
    if (!files[k].path) continue;
    const std::string& path = *files[k].path;
    if (path == "-") {
      if (files[k].option == std::string("--json")) continue;
      return std::string(files[k].option) + " needs a file name; only --json writes to the standard output";
    }
    if (sameFile(path, workbook) || (copy && sameFile(path, *copy)))
      return std::string(files[k].option) + " " + path + " would write over the workbook";
    for (std::size_t j = 0; j < k; ++j)
      if (files[j].path && sameFile(path, *files[j].path))
        return std::string(files[j].option) + " and " + files[k].option + " name the same file " + path;
  }
  return {};
}

int prepareReports(const ReportOptions& report, assess::Criteria& criteria, std::ostream& err) {
  if (report.criteria) {
    try {
      criteria = assess::loadCriteria(*report.criteria);
    } catch (const assess::CriteriaError& e) {
      err << "velm-kalix-batch: " << e.what() << "\n";
      return kExitUsage;
    }
  }
  for (const NamedFile& file : reportFiles(report)) {
    if (!file.path || *file.path == "-") continue;
    try {
      exporter::checkFolderWritable(*file.path);
    } catch (const std::exception& e) {
      err << e.what() << "\n";
      return kExitFault;
    }
  }
  return kExitAnalysed;
}

AnalysedWorkbook describeWorkbook(const std::string& path, const std::string& engine, const ReportOptions& report) {
  AnalysedWorkbook workbook{engine, fs::path(path).filename().string(), ""};
  if (report.hasHeader()) {
    try {
      workbook.sha256 = exporter::sha256OfFile(path);
    } catch (const std::exception&) {
      // Not a file this process can read: the Open command says why.
    }
  }
  return workbook;
}

PreparedReports stageReports(const RunSummary& run, const ReadingSummary& reading, const AnalysedWorkbook& workbook,
                             const ReportOptions& report, const assess::Criteria& criteria) {
  PreparedReports prepared;
  prepared.record = runRecordOf(run, reading);
  const assess::RunRecord& record = prepared.record;
  prepared.assessment = assess::assess(record, criteria, {trimWithProgram, report.fullTruncationCurve()});
  const assess::Assessment& assessment = prepared.assessment;
  for (const assess::CheckResult& c : assessment.checks) {
    if (c.verdict != assess::Verdict::Warn && c.verdict != assess::Verdict::Fail) continue;
    prepared.checkLines.push_back(checkLine(c));
    prepared.checkFailed = prepared.checkFailed || c.verdict == assess::Verdict::Fail;
  }

  prepared.header = exporter::reportHeaderNow(workbook.engine, workbook.name, workbook.sha256);
  const exporter::ReportHeader& header = prepared.header;
  const std::vector<std::pair<const std::optional<std::string>&, std::function<void(std::ostream&)>>> files = {
      {report.json, [&](std::ostream& o) { exporter::writeJson(o, header, record, assessment); }},
      {report.csv, [&](std::ostream& o) { exporter::writeCsv(o, record, assessment); }},
      {report.html, [&](std::ostream& o) { exporter::writeHtmlReport(o, header, record, assessment); }},
  };
  for (const auto& [path, write] : files) {
    if (!path) continue;
    try {
      if (*path == "-")
        prepared.standardOutput = text(write);
      else
        prepared.files.emplace_back(*path, text(write));
    } catch (const std::runtime_error& e) {
      throw Fault(FaultKind::Workbook, e.what());
    }
  }
  return prepared;
}

int publishReports(PreparedReports& prepared, const ReportOptions& report, std::ostream& out, std::ostream& err) {
  for (const std::string& line : prepared.checkLines) err << line << "\n";
  out << prepared.standardOutput;
  out.flush();
  for (exporter::StagedReportFile& file : prepared.files) {
    try {
      file.publish();
    } catch (const std::runtime_error& e) {
      err << e.what() << "\nThe workbook was analysed and written; the report files before this one are in place.\n";
      return kExitFault;
    }
  }
  return report.strict && prepared.checkFailed ? kExitCheckFailed : kExitAnalysed;
}

}  // namespace vk

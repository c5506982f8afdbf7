#include "apps/batch/BatchTool.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <ostream>

#include "apps/batch/ConsoleFeedback.h"
#include "apps/batch/TaskAlongside.h"
#include "commands/CommitAfter.h"
#include "commands/InputChecks.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "intake/DiffuserSubmergence.h"
#include "module1/NumberText.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/CellText.h"
#include "workbook/file/PhysicalPath.h"

namespace vk {

namespace fs = std::filesystem;

std::string BatchUsage() {
  std::string text =
      "usage: velm-kalix-batch [--thresholds LIST] [--output COPY | --output-dir DIR] [--force]\n"
      "                        [--engine NAME] [--jobs N] [--recursive] [--json FILE|-] [--csv FILE] [--html FILE]\n"
      "                        [--criteria FILE] [--strict] [--verbose] WORKBOOK... | FOLDER...\n"
      "  Analyses the oxygen-transfer test in WORKBOOK (.xlsx or .xlsm; under LibreOffice also .xls\n"
      "  and .ods) and writes the results into it, once, when the whole analysis succeeded. After the\n"
      "  results, the validity checks that did not pass are listed on the error output.\n"
      "  Several workbooks, or the workbooks in FOLDER, are a test campaign: each is analysed so, in\n"
      "  name order and each file once; a fault in one does not stop the others. After their results\n"
      "  come the campaign's summary and its performance curves (SOTE and SOTR against air flow).\n"
      "  --thresholds LIST  start thresholds in percent of each set's last reading, comma-separated,\n"
      "                     one per data set, each from 0 to 100 (an empty item means 0 %; sets beyond\n"
      "                     the list keep 1 %); for every workbook\n"
      "  --output COPY      leave WORKBOOK as it is and write the analysed workbook to COPY\n"
      "  --output-dir DIR   leave the workbooks as they are and write the analysed ones into DIR,\n"
      "                     under their own names\n"
      "  --force            let --output or --output-dir replace a file that exists\n"
      "  --engine NAME      embedded (the default) or libreoffice: a headless LibreOffice Calc of its\n"
      "                     own, which stores the analysed workbook in its own format\n"
      "  --jobs N           analyse N workbooks at once (1 to 64; the default is the number of cores,\n"
      "                     LibreOffice always one at a time); the output is the same for any N\n"
      "  --recursive        also the workbooks in FOLDER's sub-folders\n"
      "  --json FILE|-      the assessment as JSON (docs/assessment.schema.json); with -, the JSON\n"
      "                     alone goes to the standard output and everything else to the error output;\n"
      "                     of a campaign, the campaign and every test\n"
      "  --csv FILE         the per-probe summary as CSV; of a campaign, its summary\n"
      "  --html FILE        the test report as one self-contained HTML page with plots; of a campaign,\n"
      "                     its summary, curves and every test\n"
      "  --criteria FILE    the limits of the checks from a JSON file (docs/assessment-criteria.md)\n"
      "  --strict           exit with status 3 when a check fails (warnings do not count)\n"
      "  --verbose          with a fault, also what the spreadsheet engine reported in its own terms\n"
      "  -h, --help         print this help\n"
      "  --version          print the version\n"
      "  Report files are written only when the analysis succeeded, each whole or not at all; those of\n"
      "  a campaign once all its workbooks are done.\n"
      "exit status (when two apply, the first of 2, 1, 3, 0 wins; of a campaign, the worst of its\n"
      "workbooks'):\n";
  for (const ExitStatusMeaning& line : kExitStatuses)
    text += "  " + std::to_string(line.status) + "  " + line.meaning + "\n";
  return text;
}

std::string BatchVersion() { return std::string("velm-kalix-batch ") + VK_VERSION; }

namespace {

std::optional<std::vector<std::optional<double>>> parseThresholds(const std::string& list, std::string& error) {
  std::vector<std::optional<double>> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (item.find_first_not_of(" \t") == std::string::npos) {
      items.push_back(std::nullopt);
    } else if (auto number = parseNumber(item)) {
      if (!thresholdAccepted(*number)) {
        error = "the threshold " + numberText(*number) + " (item " + std::to_string(items.size() + 1) +
                " of --thresholds) is outside 0 to 100 %";
        return std::nullopt;
      }
      items.push_back(*number);
    } else {
      error = "the threshold \"" + item + "\" is not a number";
      return std::nullopt;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return items;
}

// A whole number of jobs within reason: more than this would only queue.
std::optional<unsigned> parseJobs(const std::string& text) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return {};
  const unsigned jobs = unsigned(std::stoul(text));
  if (jobs < 1 || jobs > kMostJobs) return {};
  return jobs;
}

std::string figure(const Variant& v, int decimals) {
  if (v.isEmpty()) return "-";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v.asDouble());
  return buf;
}

void printSummary(const RunSummary& run, std::ostream& out) {
  char line[256];
  std::snprintf(line, sizeof line, "%-8s %10s %10s %9s %11s %10s %10s\n", "Set", "KLa20", "Cinf std", "SOTE", "SOTR",
                "Depth", "Std error");
  out << line;
  std::snprintf(line, sizeof line, "%-8s %10s %10s %9s %11s %10s %10s\n", "", "1/h", "mg/L", "%", "lb O2/h", "ft",
                "mg/L");
  out << line;
  auto row = [&](const std::string& name, const Variant& kla, const Variant& cinf, const Variant& sote,
                 const Variant& sotr, const Variant& depth, const Variant& err) {
    std::snprintf(line, sizeof line, "%-8s %10s %10s %9s %11s %10s %10s\n", name.c_str(), figure(kla, 4).c_str(),
                  figure(cinf, 4).c_str(), figure(sote, 3).c_str(), figure(sotr, 3).c_str(), figure(depth, 3).c_str(),
                  figure(err, 5).c_str());
    out << line;
  };
  for (const SetResult& s : run.sets)
    row(std::to_string(s.set), Variant::single(s.figures.KLa20), Variant::single(s.figures.CinfStd), s.figures.SOTE,
        s.figures.SOTR, Variant::single(s.figures.SatDepth), s.StdErr);
  const Averages& a = run.averages;
  row("Average", a.KLa20, a.CinfStd, a.SOTE, a.SOTR, a.SatDepth, a.StdErr);
}

// Writes the thresholds of the command line into row 45 of sheet 2, as the
// user would edit them between Reading and Run; returns a warning for items
// beyond the data sets, empty when there are none.
std::string writeThresholds(Module1& m, const std::vector<std::optional<double>>& items) {
  return commitAfter(m, [&] {
    Workbook& book = dataBook(m);
    for (size_t k = 0; k < items.size() && int(k) < m.NumSets; ++k) {
      const int set = int(k) + 1;
      book.write(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(set),
                 items[k] ? Variant::dbl(*items[k]) : Variant());
    }
    if (items.size() <= size_t(int(m.NumSets))) return std::string();
    std::string extra;
    for (size_t k = size_t(int(m.NumSets)); k < items.size(); ++k)
      extra += (extra.empty() ? "" : ", ") + std::to_string(k + 1);
    return "The workbook has " + std::to_string(int(m.NumSets)) + " data sets; threshold item" +
           (items.size() - size_t(int(m.NumSets)) > 1 ? "s " : " ") + extra + " of the list were not written.";
  });
}

void checkNotFolder(const std::string& path, const std::string& given) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) throw Fault(FaultKind::Workbook, given + " is a folder, not a workbook file");
}

// The copy is written only where nothing is, unless the user said otherwise.
void checkCopy(const std::string& path, const std::string& given, bool force) {
  checkNotFolder(path, given);
  std::error_code ec;
  if (!force && fs::exists(fs::symlink_status(path, ec)))
    throw Fault(FaultKind::Workbook, given + " exists already; give --force to replace it");
}

}  // namespace

std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args, std::string& error) {
  BatchOptions options;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    auto value = [&]() -> std::optional<std::string> {
      if (k + 1 >= args.size()) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      return args[++k];
    };
    if (arg == "--thresholds") {
      auto list = value();
      if (!list) return std::nullopt;
      options.thresholds = parseThresholds(*list, error);
      if (!options.thresholds) return std::nullopt;
    } else if (arg == "--engine") {
      auto name = value();
      if (!name) return std::nullopt;
      if (*name != "embedded" && *name != "libreoffice") {
        error = "unknown engine " + *name + " (embedded or libreoffice)";
        return std::nullopt;
      }
      options.engine = *name;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--output") {
      auto copy = value();
      if (!copy) return std::nullopt;
      options.output = *copy;
    } else if (arg == "--json") {
      if (!(options.report.json = value())) return std::nullopt;
    } else if (arg == "--csv") {
      if (!(options.report.csv = value())) return std::nullopt;
    } else if (arg == "--html") {
      if (!(options.report.html = value())) return std::nullopt;
    } else if (arg == "--criteria") {
      if (!(options.report.criteria = value())) return std::nullopt;
    } else if (arg == "--strict") {
      options.report.strict = true;
    } else if (arg == "--output-dir") {
      if (!(options.outputDir = value())) return std::nullopt;
    } else if (arg == "--recursive") {
      options.recursive = true;
    } else if (arg == "--jobs") {
      auto count = value();
      if (!count) return std::nullopt;
      if (!(options.jobs = parseJobs(*count))) {
        error = "--jobs takes a whole number from 1 to " + std::to_string(kMostJobs) + ", not \"" + *count + "\"";
        return std::nullopt;
      }
    } else if (arg == "--force") {
      options.force = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg.rfind("--", 0) == 0 && arg.size() > 2) {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      options.inputs.push_back(arg);
    }
  }
  if (options.help || options.version) return options;
  if (options.inputs.empty()) {
    error = "no workbook given";
    return std::nullopt;
  }
  if (options.output && options.outputDir) {
    error = "--output names one copy and --output-dir a folder for the copies: give one of them";
    return std::nullopt;
  }
  if (options.output && options.inputs.size() > 1) {
    error = "--output names the copy of one workbook; with several, give --output-dir DIR";
    return std::nullopt;
  }
  if (options.force && !options.output && !options.outputDir) {
    error = "--force goes with --output or --output-dir";
    return std::nullopt;
  }
  // One workbook, or a folder the campaign looks into (Campaign.h).
  options.workbook = options.inputs.front();
  if (options.inputs.size() == 1) error = reportOptionsError(options.report, options.workbook, options.output);
  if (!error.empty()) return std::nullopt;
  return options;
}

namespace {

// The most readings whose assessment runs beside the writing of the
// workbook: past that the memory of the two adds up to several megabytes,
// while the assessment is a small part of the time.
constexpr int kReadingsAssessedAlongside = 20000;

// The analysis of RunBatch; `outcome`, when given, keeps what a campaign needs.
int analyse(const BatchOptions& options, const assess::Criteria& criteria, std::shared_ptr<WorkbookEngine> engine,
            std::ostream& out, std::ostream& err, AnalysisOutcome* outcome) {
  ConsoleFeedback screen(err);
  std::shared_ptr<Workbook> copy;  // held until the analysis binds it by its path
  try {
    const std::string workbook = physicalPath(options.workbook);
    std::string target = workbook;
    checkNotFolder(workbook, options.workbook);
    const AnalysedWorkbook analysed = describeWorkbook(workbook, engine->name(), options.report);
    if (options.output) {
      target = physicalPath(*options.output);
      checkCopy(target, *options.output, options.force);
      copy = engine->bindCopy(workbook, target);
    }
    Module1 m;
    m.Engine = std::move(engine);
    const fs::path at(target);
    std::string thresholdWarning;
    DiffuserSubmergence submergence;
    PreparedReports reports;
    std::optional<TaskAlongside> assessing;  // waited for on every way out of here
    const RunSummary run = commitAfter(
        m,
        [&] {
          OpenWorkbook(m, screen, at.parent_path().string(), at.filename().string());
          ReadingSummary reading = ReadDataSets(m, screen);
          if (options.thresholds) thresholdWarning = writeThresholds(m, *options.thresholds);
          RunSummary analysis = RunAnalysis(m, screen);
          if (outcome) submergence = readDiffuserSubmergence(dataBook(m));
          if (options.report.makesReportText() || int(m.NumPoints) * int(m.NumSets) > kReadingsAssessedAlongside) {
            reports = stageReports(analysis, reading, analysed, options.report, criteria);
          } else {
            // Only the checks: the assessment reads nothing of the workbook and
            // nothing the readings hold makes it fail, so it runs while the
            // workbook is written and flushed.
            assessing.emplace([&reports, &analysed, &options, &criteria, analysis, reading = std::move(reading)] {
              reports = stageReports(analysis, reading, analysed, options.report, criteria);
            });
          }
          return analysis;
        },
        AfterFault::WriteNothing);
    if (assessing) assessing->wait();
    printSummary(run, options.report.jsonToStandardOutput() ? err : out);
    if (!thresholdWarning.empty()) screen.warning(thresholdWarning);
    if (!submergence.warning.empty()) screen.warning(submergence.warning);
    if (outcome) {
      outcome->submergenceFt = submergence.feet;
      outcome->reports.emplace(std::move(reports));
      return publishReports(*outcome->reports, options.report, out, err);
    }
    return publishReports(reports, options.report, out, err);
  } catch (const Fault& fault) {
    if (copy) copy->discard();  // a fault before the analysis had it
    err << fault.what() << "\n";
    if (options.verbose && !fault.detail().empty()) err << "details: " << fault.detail() << "\n";
    err << "Nothing was written.\n";
    if (outcome) outcome->fault = fault.what();
    return kExitFault;
  }
}

}  // namespace

int RunBatch(const BatchOptions& options, std::shared_ptr<WorkbookEngine> engine, std::ostream& out,
             std::ostream& err) {
  assess::Criteria criteria;
  if (const int status = prepareReports(options.report, criteria, err)) return status;
  return analyse(options, criteria, std::move(engine), out, err, nullptr);
}

int RunBatchInCampaign(const BatchOptions& options, const assess::Criteria& criteria,
                       std::shared_ptr<WorkbookEngine> engine, std::ostream& out, std::ostream& err,
                       AnalysisOutcome& outcome) {
  return analyse(options, criteria, std::move(engine), out, err, &outcome);
}

}  // namespace vk

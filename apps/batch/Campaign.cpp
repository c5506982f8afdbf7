#include "apps/batch/Campaign.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

#include "apps/batch/CampaignInputs.h"
#include "apps/batch/CampaignProgress.h"
#include "apps/batch/CampaignReports.h"
#include "apps/batch/CampaignText.h"
#include "export/ReportFile.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

int usageError(const std::string& error, std::ostream& err) {
  err << "velm-kalix-batch: " << error << "\n" << BatchUsage();
  return kExitUsage;
}

// What one workbook leaves until its turn to be printed and reported.
struct Analysed {
  int status = kExitFault;
  std::string out, err;
  campaign::CampaignRow row;
  CampaignReports::TestParts parts;
};

// Each line of a workbook's messages begins with its path, so that they can
// be told apart.
std::string named(const std::string& path, const std::string& text) {
  std::string lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines += path + ": " + line + "\n";
  return lines;
}

class Campaign {
 public:
  Campaign(const BatchOptions& options, const std::vector<std::string>& workbooks, const BatchEngines& engines,
           const assess::Criteria& criteria, CampaignReports& reports, std::ostream& out, std::ostream& err)
      : options_(options),
        workbooks_(workbooks),
        engines_(engines),
        criteria_(criteria),
        reports_(reports),
        results_(options.report.jsonToStandardOutput() ? err : out),
        err_(err),
        progress_(options.progress, workbooks.size(), err),
        waiting_(workbooks.size()) {}

  // Returns the worst status of the workbooks.
  int run(unsigned jobs) {
    // A bounded number of analyses may wait for their turn, so that memory
    // does not grow with the campaign when an early one is slow.
    window_ = 2 * std::size_t(jobs);
    std::vector<std::thread> threads;
    for (unsigned k = 1; k < jobs; ++k) threads.emplace_back([this] { work(); });
    work();
    for (std::thread& t : threads) t.join();
    return anyFault_ ? kExitFault : anyCheckFailed_ ? kExitCheckFailed : kExitAnalysed;
  }

  const std::vector<campaign::CampaignRow>& rows() const { return rows_; }

 private:
  void work() {
    for (;;) {
      std::size_t i;
      {
        std::unique_lock lock(mutex_);
        turn_.wait(lock, [this] { return next_ >= workbooks_.size() || next_ < printed_ + window_; });
        if (next_ >= workbooks_.size()) return;
        i = next_++;
      }
      const std::string name = fs::path(workbooks_[i]).filename().string();  // short enough for the line
      progress_.started(name);
      Analysed done = analyse(workbooks_[i]);
      progress_.finished(name);
      {
        std::lock_guard lock(mutex_);
        waiting_[i] = std::move(done);
        while (printed_ < workbooks_.size() && waiting_[printed_]) {
          report(workbooks_[printed_], *waiting_[printed_]);
          waiting_[printed_].reset();
          ++printed_;
        }
      }
      turn_.notify_all();
    }
  }

  Analysed analyse(const std::string& path) {
    BatchOptions one = options_;
    one.inputs = {path};
    one.workbook = path;
    if (options_.outputDir) one.output = copyIn(*options_.outputDir, path);
    one.outputDir.reset();
    one.report = ReportOptions{};
    one.report.strict = options_.report.strict;
    one.report.inCampaignReport = reports_.holdTests();
    const std::string name = fs::path(path).filename().string();
    std::ostringstream out, err;
    AnalysisOutcome outcome;
    Analysed done;
    try {
      done.status = RunBatchInCampaign(one, criteria_, engines_.make(), out, err, outcome);
      if (outcome.reports) {
        const PreparedReports& test = *outcome.reports;
        done.row = campaign::analysedRow(name, test.record, test.assessment, outcome.submergenceFt);
        done.parts = reports_.render(test);
      } else {
        done.row = campaign::faultedRow(name, outcome.fault);
      }
    } catch (const std::exception& e) {  // nothing of one workbook may stop the others
      err << "velm-kalix-batch: " << e.what() << "\n";
      done.status = kExitFault;
      done.row = campaign::faultedRow(name, e.what());
    }
    if (engines_.afterEach) {
      try {
        engines_.afterEach();
      } catch (const std::exception& e) {
        err << "warning: " << e.what() << "\n";
      }
    }
    done.out = out.str();
    done.err = err.str();
    return done;
  }

  // In the workbooks' order, one at a time.
  void report(const std::string& path, Analysed& done) {
    progress_.around([&] {
      if (!done.out.empty()) results_ << path << ":\n" << done.out << "\n";
      results_.flush();
      err_ << named(path, done.err) << std::flush;
    });
    reports_.add(done.parts);
    anyFault_ = anyFault_ || done.status == kExitFault;
    anyCheckFailed_ = anyCheckFailed_ || done.status == kExitCheckFailed;
    rows_.push_back(std::move(done.row));
  }

  const BatchOptions& options_;
  const std::vector<std::string>& workbooks_;
  const BatchEngines& engines_;
  const assess::Criteria& criteria_;
  CampaignReports& reports_;
  std::ostream& results_;
  std::ostream& err_;
  CampaignProgress progress_;

  std::mutex mutex_;
  std::condition_variable turn_;
  std::size_t next_ = 0, printed_ = 0, window_ = 2;
  std::vector<std::optional<Analysed>> waiting_;
  std::vector<campaign::CampaignRow> rows_;
  bool anyFault_ = false, anyCheckFailed_ = false;
};

unsigned jobsFor(const BatchOptions& options, const BatchEngines& engines, std::size_t workbooks) {
  if (engines.oneAtATime) return 1;
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned jobs = options.jobs.value_or(std::min(cores, kMostJobs));
  return unsigned(std::min<std::size_t>(jobs, workbooks));
}

int runCampaign(const BatchOptions& options, const std::vector<std::string>& workbooks, const BatchEngines& engines,
                const std::string& engine, std::ostream& out, std::ostream& err) {
  assess::Criteria criteria;
  if (const int status = prepareReports(options.report, criteria, err)) return status;
  std::optional<CampaignReports> reports;
  try {
    if (options.outputDir) exporter::checkFolderWritable((fs::path(*options.outputDir) / "copy").string());
    reports.emplace(options.report, engine);
  } catch (const std::runtime_error& e) {
    err << e.what() << "\nNothing was written.\n";
    return kExitFault;
  }
  Campaign campaign(options, workbooks, engines, criteria, *reports, out, err);
  const int status = campaign.run(jobsFor(options, engines, workbooks.size()));

  const campaign::CampaignCurves curves = campaign::performanceCurves(campaign.rows());
  printCampaignSummary(campaign.rows(), curves, options.report.jsonToStandardOutput() ? err : out);
  if (reports->finish(campaign.rows(), curves, out, err) != kExitAnalysed) return kExitFault;
  return status;
}

}  // namespace

int RunWorkbooks(const BatchOptions& options, const BatchEngines& engines, std::ostream& out, std::ostream& err) {
  std::error_code ec;
  const bool oneFile = options.inputs.size() == 1 && !fs::is_directory(options.workbook, ec);
  if (oneFile && !options.outputDir) return RunBatch(options, engines.make(), out, err);  // as it always was

  const std::shared_ptr<WorkbookEngine> first = engines.make();
  std::string error;
  const std::vector<std::string> workbooks =
      oneFile ? options.inputs : campaignWorkbooks(options.inputs, first->extensions(), options.recursive, error);
  if (error.empty() && options.outputDir) error = copiesError(workbooks, *options.outputDir);
  for (std::size_t k = 0; k < workbooks.size() && error.empty(); ++k)
    error =
        reportOptionsError(options.report, workbooks[k],
                           options.outputDir ? std::optional(copyIn(*options.outputDir, workbooks[k])) : std::nullopt);
  if (!error.empty()) return usageError(error, err);

  if (workbooks.size() == 1) {
    BatchOptions one = options;
    one.workbook = workbooks.front();
    if (options.outputDir) one.output = copyIn(*options.outputDir, one.workbook);
    return RunBatch(one, first, out, err);
  }
  return runCampaign(options, workbooks, engines, first->name(), out, err);
}

}  // namespace vk

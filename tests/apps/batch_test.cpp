#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "module1/Fault.h"
#include "tests/Digits.h"
#include "tests/support/FailingSave.h"
#include "tests/support/TestBook.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

std::optional<BatchOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto options = ParseBatchArguments(args, e);
  if (error) *error = e;
  return options;
}

TEST(BatchArguments, ThresholdListsAndUsageErrors) {
  auto o = parse({"--thresholds", "10,,2.5", "--output", "copy.xlsx", "test.xlsx"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->workbook, "test.xlsx");
  EXPECT_EQ(o->output, "copy.xlsx");
  ASSERT_TRUE(o->thresholds);
  ASSERT_EQ(o->thresholds->size(), 3u);
  EXPECT_EQ((*o->thresholds)[0], 10.0);
  EXPECT_FALSE((*o->thresholds)[1]);
  EXPECT_EQ((*o->thresholds)[2], 2.5);

  std::string error;
  EXPECT_FALSE(parse({}, &error));
  EXPECT_EQ(error, "no workbook given");
  EXPECT_FALSE(parse({"--thresholds", "10,x", "a.xlsx"}, &error));
  EXPECT_NE(error.find("\"x\""), std::string::npos);
  EXPECT_FALSE(parse({"a.xlsx", "--output"}, &error));
  EXPECT_FALSE(parse({"--quiet", "a.xlsx"}, &error));
}

TEST(BatchArguments, SeveralWorkbooksTheirCopiesAndJobs) {
  auto o = parse({"--output-dir", "out", "--jobs", "3", "--recursive", "a.xlsx", "runs"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->inputs, (std::vector<std::string>{"a.xlsx", "runs"}));
  EXPECT_EQ(o->outputDir, "out");
  EXPECT_EQ(o->jobs, 3u);
  EXPECT_TRUE(o->recursive);
  EXPECT_FALSE(parse({"a.xlsx"})->jobs);  // as many as there are cores

  std::string error;
  EXPECT_FALSE(parse({"--output", "c.xlsx", "a.xlsx", "b.xlsx"}, &error));
  EXPECT_EQ(error, "--output names the copy of one workbook; with several, give --output-dir DIR");
  EXPECT_FALSE(parse({"--output", "c.xlsx", "--output-dir", "out", "a.xlsx"}, &error));
  for (const char* jobs : {"0", "-2", "1.5", "x", "65", ""}) {
    EXPECT_FALSE(parse({"--jobs", jobs, "a.xlsx"}, &error)) << jobs;
    EXPECT_EQ(error, "--jobs takes a whole number from 1 to 64, not \"" + std::string(jobs) + "\"");
  }
  EXPECT_TRUE(parse({"--force", "--output-dir", "out", "a.xlsx", "b.xlsx"})->force);
}

TEST(BatchArguments, ThresholdsOutsideZeroToHundredAreUsageErrors) {
  std::string error;
  EXPECT_FALSE(parse({"--thresholds", "10,150", "a.xlsx"}, &error));
  EXPECT_EQ(error, "the threshold 150 (item 2 of --thresholds) is outside 0 to 100 %");
  EXPECT_FALSE(parse({"--thresholds", "-0.5", "a.xlsx"}, &error));
  EXPECT_EQ(error, "the threshold -0.5 (item 1 of --thresholds) is outside 0 to 100 %");
  auto limits = parse({"--thresholds", "0,100", "a.xlsx"});
  ASSERT_TRUE(limits);
  EXPECT_EQ((*limits->thresholds)[1], 100.0);
  EXPECT_FALSE(limits->verbose);
  EXPECT_TRUE(parse({"--verbose", "a.xlsx"})->verbose);
}

TEST(BatchArguments, HelpVersionAndForce) {
  for (const char* help : {"-h", "--help"}) EXPECT_TRUE(parse({help})->help);
  EXPECT_TRUE(parse({"--version"})->version);
  EXPECT_TRUE(parse({"--output", "copy.xlsx", "--force", "a.xlsx"})->force);
  std::string error;
  EXPECT_FALSE(parse({"--force", "a.xlsx"}, &error));
  EXPECT_EQ(error, "--force goes with --output or --output-dir");
}

TEST(BatchArguments, EngineChoice) {
  EXPECT_EQ(parse({"a.xlsx"})->engine, "embedded");
  EXPECT_EQ(parse({"--engine", "libreoffice", "a.ods"})->engine, "libreoffice");
  std::string error;
  EXPECT_FALSE(parse({"--engine", "calc", "a.xlsx"}, &error));
  EXPECT_NE(error.find("calc"), std::string::npos);
  EXPECT_FALSE(parse({"a.xlsx", "--engine"}, &error));
}

TEST(BatchArguments, ReportOptionsAndTheirUsageErrors) {
  auto o = parse({"--json", "-", "--csv", "r.csv", "--html", "r.html", "--criteria", "c.json", "--strict", "a.xlsx"});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->report.jsonToStandardOutput());
  EXPECT_EQ(o->report.csv, "r.csv");
  EXPECT_EQ(o->report.html, "r.html");
  EXPECT_EQ(o->report.criteria, "c.json");
  EXPECT_TRUE(o->report.strict);
  EXPECT_TRUE(o->report.fullTruncationCurve());
  // Without --json or --html the truncation needs only its two thresholds.
  EXPECT_FALSE(parse({"--csv", "r.csv", "a.xlsx"})->report.fullTruncationCurve());
  EXPECT_FALSE(parse({"a.xlsx"})->report.strict);

  std::string error;
  EXPECT_FALSE(parse({"--csv", "-", "a.xlsx"}, &error));
  EXPECT_NE(error.find("only --json"), std::string::npos) << error;
  EXPECT_FALSE(parse({"--json", "lab/../a.xlsx", "a.xlsx"}, &error));
  EXPECT_NE(error.find("over the workbook"), std::string::npos) << error;
  EXPECT_FALSE(parse({"--output", "b.xlsx", "--html", "b.xlsx", "a.xlsx"}, &error));
  EXPECT_NE(error.find("over the workbook"), std::string::npos) << error;
  EXPECT_FALSE(parse({"--json", "r.txt", "--csv", "./r.txt", "a.xlsx"}, &error));
  EXPECT_NE(error.find("--json and --csv name the same file"), std::string::npos) << error;
  EXPECT_FALSE(parse({"a.xlsx", "--criteria"}, &error));
  EXPECT_EQ(error, "--criteria needs a value");
}

struct Batch : ::testing::Test {
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  std::ostringstream out, err;
  std::string path = std::filesystem::absolute("lab/test.xlsx").lexically_normal().string();

  std::shared_ptr<MemoryWorkbook> book() { return engine->book(path); }
  int run(std::vector<std::string> args) {
    std::string error;
    auto options = ParseBatchArguments(args, error);
    EXPECT_TRUE(options) << error;
    return RunBatch(*options, engine, out, err);
  }
};

TEST_F(Batch, ThresholdsReplaceTheDefaultsAndExtraItemsAreNamed) {
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc(), test::workedConc()};
  test::writeTestSheet(*book(), d);
  ASSERT_EQ(run({"--thresholds", "10,,5,7", "lab/test.xlsx"}), 0) << err.str();
  EXPECT_EQ(book()->value(2, 45, 1), Variant::dbl(10));
  EXPECT_TRUE(book()->value(2, 45, 7).isEmpty());
  EXPECT_EQ(book()->value(2, 45, 13), Variant(Integer(0)));  // no third set: as the Open command left it
  EXPECT_EQ(book()->value(3, 35, 11), Variant::single(10));
  EXPECT_EQ(book()->value(3, 35, 18), Variant::single(0));
  EXPECT_NE(err.str().find("items 3, 4 of the list were not written"), std::string::npos) << err.str();
  // The summary: a header, units, one row per set and the averages.
  const std::string text = out.str();
  EXPECT_NE(text.find("KLa20"), std::string::npos);
  EXPECT_NE(text.find("\n1 "), std::string::npos);
  EXPECT_NE(text.find("\n2 "), std::string::npos);
  EXPECT_NE(text.find("\nAverage "), std::string::npos);
  EXPECT_NE(text.find("0.03350"), std::string::npos) << text;  // the standard error of set 1
}

TEST_F(Batch, SetsBeyondTheListKeepTheDefault) {
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc(), test::workedConc()};
  test::writeTestSheet(*book(), d);
  ASSERT_EQ(run({"--thresholds", "10", "lab/test.xlsx"}), 0) << err.str();
  EXPECT_EQ(book()->value(2, 45, 7), Variant(Integer(1)));
  EXPECT_EQ(err.str().find("warning:"), std::string::npos) << err.str();  // only the checks that did not pass
}

TEST_F(Batch, VerboseAddsWhatTheEngineReportedInItsOwnTerms) {
  struct Reporting : MemoryEngine {
    std::shared_ptr<Workbook> bind(const std::string&) override {
      throw Fault(FaultKind::Workbook, "the spreadsheet failed", "ComponentError at source.cxx:12");
    }
  };
  BatchOptions options;
  options.workbook = "lab/test.xlsx";
  EXPECT_EQ(RunBatch(options, std::make_shared<Reporting>(), out, err), 1);
  EXPECT_EQ(err.str(), "Workbook error: the spreadsheet failed\nNothing was written.\n");
  err.str("");
  options.verbose = true;
  EXPECT_EQ(RunBatch(options, std::make_shared<Reporting>(), out, err), 1);
  EXPECT_EQ(err.str(),
            "Workbook error: the spreadsheet failed\ndetails: ComponentError at source.cxx:12\nNothing was written.\n");
}

TEST_F(Batch, AFaultIsPrintedAndExitsWithOne) {
  book()->setText(1, 8, 3, "three");
  EXPECT_EQ(run({"lab/test.xlsx"}), 1);
  EXPECT_NE(err.str().find("sheet 1, cell C8"), std::string::npos) << err.str();
  EXPECT_EQ(out.str(), "");
}

TEST_F(Batch, WithTheJsonOnStandardOutputEverythingElseGoesToTheErrorOutput) {
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc(), test::workedConc()};
  test::writeTestSheet(*book(), d);
  ASSERT_EQ(run({"--json", "-", "lab/test.xlsx"}), 0) << err.str();
  const nlohmann::json doc = nlohmann::json::parse(out.str());  // the whole of it, and nothing else
  EXPECT_EQ(doc["header"]["engine"], "memory");
  EXPECT_EQ(doc["header"]["workbook"]["name"], "test.xlsx");
  EXPECT_TRUE(doc["header"]["workbook"]["sha256"].is_null());  // no file behind the memory engine
  EXPECT_EQ(doc["sets"].size(), 2u);
  EXPECT_TRUE(doc["full_truncation_curve"]);
  // The table, then the checks that did not pass: 13 readings are fewer than 20.
  const std::string text = err.str();
  const auto table = text.find("\nAverage "), check = text.find("warn: data set 1: kept-readings:");
  ASSERT_NE(table, std::string::npos) << text;
  ASSERT_NE(check, std::string::npos) << text;
  EXPECT_LT(table, check);
  EXPECT_EQ(text.find("pass:"), std::string::npos) << text;
}

// Nothing of the workbook is read, let alone written, when the criteria
// file cannot be used; the message names the key.
TEST_F(Batch, ACriteriaFileThatCannotBeUsedStopsEverythingWithStatusTwo) {
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc()};
  test::writeTestSheet(*book(), d);
  book()->clearLog();
  const std::filesystem::path criteria = std::filesystem::temp_directory_path() / "vk-batch-criteria.json";
  std::ofstream(criteria) << R"({"end_level_min_percent": 95, "kla_interval_percent": 4})";
  EXPECT_EQ(run({"--criteria", criteria.string(), "--strict", "lab/test.xlsx"}), 2);
  std::filesystem::remove(criteria);
  EXPECT_NE(err.str().find("\"kla_interval_percent\" is not a known key"), std::string::npos) << err.str();
  EXPECT_TRUE(book()->log().empty());
  EXPECT_EQ(out.str(), "");
}

// The whole analysis is one transaction: one commit at its end when all of it
// succeeded; after a fault in the Run, what the Open and the Reading wrote is
// discarded and the message says that nothing was written.
TEST_F(Batch, TheWholeAnalysisCommitsOnceOrNotAtAll) {
  using Op = MemoryWorkbook::Op;
  auto count = [&](Op op) {
    return std::count_if(book()->log().begin(), book()->log().end(), [op](const auto& r) { return r.op == op; });
  };
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc()};
  test::writeTestSheet(*book(), d);
  ASSERT_EQ(run({"lab/test.xlsx"}), 0) << err.str();
  EXPECT_EQ(count(Op::Commit), 1);
  EXPECT_EQ(book()->log().back().op, Op::Commit);

  book()->clearLog();
  out.str("");
  err.str("");
  ASSERT_EQ(run({"--thresholds", "99.9", "lab/test.xlsx"}), 1);  // the Run keeps too few readings
  EXPECT_EQ(count(Op::Commit), 0);
  EXPECT_EQ(book()->log().back().op, Op::Discard);
  EXPECT_GT(count(Op::Write), 0);  // the Open and the Reading had written
  const std::string text = err.str();
  EXPECT_EQ(text.substr(text.find('\n')), "\nNothing was written.\n") << text;
  EXPECT_EQ(out.str(), "");
}

// A save that fails is reported in one sentence, its kind named once.
TEST_F(Batch, AFailedSaveIsOneSentence) {
  auto failing = std::make_shared<test::FailingSaveEngine>();
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc()};
  test::writeTestSheet(*failing->book, d);
  BatchOptions options;
  options.workbook = "/lab/test.xlsx";
  EXPECT_EQ(RunBatch(options, failing, out, err), 1);
  EXPECT_EQ(err.str(), std::string("Workbook error: ") + test::FailingSaveBook::kReason + "\nNothing was written.\n");
  EXPECT_EQ(out.str(), "");
}

// The reports are staged while the analysis runs and put in place only once
// the workbook is written: a failed save leaves neither, nor a temporary file.
TEST_F(Batch, ReportsFollowOnlyAWorkbookThatWasWritten) {
  auto failing = std::make_shared<test::FailingSaveEngine>();
  test::TestData d;
  d.times = test::workedTimes();
  d.sets = {test::workedConc()};
  test::writeTestSheet(*failing->book, d);
  std::string dir = (std::filesystem::temp_directory_path() / "vk-batch-reports-XXXXXX").string();
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  BatchOptions options;
  options.workbook = "/lab/test.xlsx";
  options.report.csv = dir + "/summary.csv";
  EXPECT_EQ(RunBatch(options, failing, out, err), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir)) << err.str();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vk

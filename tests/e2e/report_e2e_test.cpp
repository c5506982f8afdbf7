// The batch tool's report flags on workbook files through the embedded
// engine: the Run's cells are the same with and without them, the optimum
// agrees with the program, the intervals hold their estimates, the checklist
// judges what the workbook's own numbers show, and nothing is written when
// the criteria or the analysis fail.

#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "assess/Criteria.h"
#include "export/Sha256.h"
#include "tests/support/TestFolder.h"
#include "tests/support/XlsxCells.h"
#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
namespace c = cells;
using nlohmann::json;

const fs::path kSource = VK_SOURCE_DIR;

std::string bytesOf(const fs::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

struct Batched {
  int status = -1;
  std::string out, err;
};

class Reports : public ::testing::Test {
 protected:
  fs::path dir;

  void SetUp() override { dir = test::freshTestFolder("vk-reports"); }
  void TearDown() override {
    fs::permissions(dir, fs::perms::owner_all);
    fs::remove_all(dir);
  }

  // A fresh copy of the workbook under `name`.
  fs::path copy(const fs::path& workbook, const std::string& name) {
    fs::copy_file(workbook, dir / name, fs::copy_options::overwrite_existing);
    return dir / name;
  }
  Batched batch(std::vector<std::string> args) {
    std::string error;
    auto options = ParseBatchArguments(args, error);
    EXPECT_TRUE(options) << error;
    Batched b;
    if (!options) return b;
    std::ostringstream out, err;
    b.status = RunBatch(*options, std::make_shared<XlsxEngine>(), out, err);
    b.out = out.str();
    b.err = err.str();
    return b;
  }
  std::string at(const std::string& name) const { return (dir / name).string(); }
};

// What a check's verdict must be, worked out from the cells the Run wrote.
struct ExpectedVerdicts {
  std::map<std::pair<std::string, int>, std::string> byCheckAndSet;
};

double number(const test::StoredCell& cell) {
  double v = NAN;
  std::from_chars(cell.value.data(), cell.value.data() + cell.value.size(), v);
  return v;
}

ExpectedVerdicts verdictsFromTheCells(const fs::path& analysed) {
  const auto s1 = test::readStoredCells(analysed.string(), c::kTestSheet);
  const auto s3 = test::readStoredCells(analysed.string(), c::kResultsSheet);
  auto cell = [&](int row, int column) {
    auto it = s3.find({row, column});
    return it == s3.end() ? NAN : number(it->second);
  };
  const int sets = int(number(s1.at({c::kNumSetsRow, c::kConditionColumn})));
  ExpectedVerdicts e;
  auto put = [&](const char* id, int set, bool pass, const char* otherwise = "warn") {
    e.byCheckAndSet[{id, set}] = pass ? "pass" : otherwise;
  };
  std::vector<double> kla20, sotr;
  for (int set = 1; set <= sets; ++set) {
    const int kept = int(cell(c::kKeptCountRow, c::testColumn(set)));
    const double cinf = cell(c::kCinfResultRow, c::testColumn(set));
    const double first = cell(c::pointRow(1), c::resultColumn(set) + 2);
    const double last = cell(c::pointRow(kept), c::resultColumn(set) + 2);
    put("fit-converged", set, s3.count({c::kStdErrResultRow, c::testColumn(set)}) > 0, "fail");
    put("start-level", set, 100 * first / cinf <= 20);
    put("end-level", set, 100 * last / cinf >= 98);
    put("kept-readings", set, kept >= 20, kept >= 4 ? "warn" : "fail");
    put("depth-positive", set, cell(c::kCinfResultRow, c::standardColumn(set)) > assess::basis::kSatDO20);
    put("optimum-agreement", set, true);
    kla20.push_back(cell(c::summaryRow(set), c::kKLa20Column));
    sotr.push_back(cell(c::summaryRow(set), c::kSOTRColumn));
  }
  const double temperature = number(s1.at({c::kWaterTempRow, c::kConditionColumn}));
  put("water-temperature", 0, temperature >= 10 && temperature <= 30);
  if (sets > 1) {
    auto cv = [](const std::vector<double>& v) {
      double mean = 0, ss = 0;
      for (double x : v) mean += x / double(v.size());
      for (double x : v) ss += (x - mean) * (x - mean);
      return 100 * std::sqrt(ss / double(v.size() - 1)) / mean;
    };
    put("probe-spread", 0, cv(kla20) <= 10 && cv(sotr) <= 10);
  }
  return e;
}

void expectIntervalHolds(const json& figure, const std::string& name) {
  const double estimate = figure["estimate"], low = figure["ci95"]["low"], high = figure["ci95"]["high"];
  EXPECT_TRUE(std::isfinite(low) && std::isfinite(high)) << name;
  EXPECT_LT(low, estimate) << name;
  EXPECT_LT(estimate, high) << name;
}

class ReportOfAWorkbook : public Reports, public ::testing::WithParamInterface<const char*> {};

TEST_P(ReportOfAWorkbook, AgreesWithTheRunAndJudgesWhatItsNumbersShow) {
  const fs::path source = kSource / GetParam();
  const fs::path plain = copy(source, "plain.xlsx"), reported = copy(source, "reported.xlsx");
  const Batched without = batch({plain.string()});
  ASSERT_EQ(without.status, 0) << without.err;
  const Batched with =
      batch({"--json", at("r.json"), "--csv", at("r.csv"), "--html", at("r.html"), "--strict", reported.string()});
  ASSERT_EQ(with.status, 0) << with.err;

  // The Run's cells, every one of every sheet, and its table are the same.
  for (int sheet = 1; sheet <= 3; ++sheet) {
    const auto a = test::readStoredCells(plain.string(), sheet), b = test::readStoredCells(reported.string(), sheet);
    ASSERT_EQ(a.size(), b.size()) << "sheet " << sheet;
    for (const auto& [where, cell] : a) {
      const test::StoredCell& other = b.at(where);
      EXPECT_TRUE(cell.value == other.value && cell.type == other.type && cell.formula == other.formula)
          << "sheet " << sheet << " row " << where.first << " column " << where.second;
    }
  }
  EXPECT_EQ(without.out, with.out);
  EXPECT_EQ(without.err, with.err);  // the same checks did not pass

  const json doc = json::parse(bytesOf(dir / "r.json"));
  EXPECT_EQ(doc["header"]["workbook"]["name"], "reported.xlsx");
  EXPECT_EQ(doc["header"]["workbook"]["sha256"], exporter::sha256OfFile(source.string()));  // as read, not as saved
  EXPECT_EQ(doc["header"]["engine"], "embedded");
  EXPECT_TRUE(doc["full_truncation_curve"]);

  const assess::Criteria defaults;
  const double klaLimit = defaults.limit(assess::CheckId::OptimumAgreement, 0);
  const double cinfLimit = defaults.limit(assess::CheckId::OptimumAgreement, 1);
  for (const json& set : doc["sets"]) {
    SCOPED_TRACE("set " + std::to_string(int(set["set"])));
    EXPECT_LE(100 * std::fabs(double(set["comparison"]["kla"]["relative_difference"])), klaLimit);
    EXPECT_LE(100 * std::fabs(double(set["comparison"]["cinf"]["relative_difference"])), cinfLimit);
    for (const char* p : {"c0", "cinf", "kla"}) expectIntervalHolds(set["parameter_uncertainty"]["parameters"][p], p);
    const json& standard = set["standardised_uncertainty"];
    expectIntervalHolds(standard["kla20_per_h"], "kla20");
    expectIntervalHolds(standard["cinf20_mg_per_l"], "cinf20");
    expectIntervalHolds(standard["sotr"]["us"], "sotr");
    expectIntervalHolds(standard["sotr"]["si"], "sotr si");
    expectIntervalHolds(standard["sote_percent"], "sote");
    EXPECT_EQ(set["truncation"]["points"].size(), 16u);
  }

  const ExpectedVerdicts expected = verdictsFromTheCells(reported);
  std::size_t judged = 0;
  for (const json& check : doc["checks"]) {
    const int set = check["set"].is_null() ? 0 : int(check["set"]);  // null: the whole test
    auto it = expected.byCheckAndSet.find({check["id"], set});
    if (it == expected.byCheckAndSet.end()) continue;
    EXPECT_EQ(check["verdict"], it->second) << check["id"] << " of set " << set;
    ++judged;
  }
  EXPECT_EQ(judged, expected.byCheckAndSet.size());

  // The CSV: a heading and one row per probe.
  const std::string csv = bytesOf(dir / "r.csv");
  EXPECT_EQ(std::size_t(std::count(csv.begin(), csv.end(), '\n')), doc["sets"].size() + 1);
}

INSTANTIATE_TEST_SUITE_P(SampleAndSixProbes, ReportOfAWorkbook,
                         ::testing::Values("templates/sample.xlsx", "tests/data/e2e/six-sets.xlsx"));

TEST_F(Reports, ACriteriaFileThatCannotBeUsedWritesNothing) {
  const fs::path workbook = copy(kSource / "tests/data/e2e/six-sets.xlsx", "six.xlsx");
  const std::string before = bytesOf(workbook);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"{\"end_level_min_percent\": 95,", "is not JSON"},
      {"{\"end_level_min_percent\": 95, \"start_level_percent\": 4}", "\"start_level_percent\" is not a known key"},
      {"{\"kept_readings_min\": \"twenty\"}", "\"kept_readings_min\" must be a whole number, not text"}};
  for (const auto& [text, message] : files) {
    std::ofstream(dir / "criteria.json", std::ios::trunc) << text;
    const Batched b =
        batch({"--criteria", at("criteria.json"), "--json", at("r.json"), "--html", at("r.html"), workbook.string()});
    EXPECT_EQ(b.status, 2) << text;
    EXPECT_NE(b.err.find(message), std::string::npos) << b.err;
    EXPECT_EQ(b.out, "");
  }
  EXPECT_EQ(bytesOf(workbook), before);
  EXPECT_FALSE(fs::exists(dir / "r.json"));
  EXPECT_FALSE(fs::exists(dir / "r.html"));
}

// A failed check counts under --strict only; the report files are written
// all the same, since the analysis succeeded. A fault outranks a failed
// check, and the analysis that fails writes no report.
TEST_F(Reports, StrictFailsOnAFailedCheckAndReportsFollowOnlyASuccessfulAnalysis) {
  const fs::path workbook = copy(kSource / "tests/data/e2e/not-converging.xlsx", "nc.xlsx");
  Batched b = batch({"--strict", "--json", at("r.json"), workbook.string()});
  EXPECT_EQ(b.status, kExitCheckFailed) << b.err;
  EXPECT_NE(b.err.find("fail: data set 2: fit-converged: The fit converged within the pass limit (it did not converge "
                       "in 11 passes)\n"),
            std::string::npos)
      << b.err;
  EXPECT_EQ(json::parse(bytesOf(dir / "r.json"))["verdict"], "fail");
  EXPECT_EQ(batch({"--json", at("r.json"), workbook.string()}).status, 0);

  fs::create_directory(dir / "locked");
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const std::string before = bytesOf(workbook);
  b = batch({"--strict", "--html", at("locked/r.html"), workbook.string()});
  EXPECT_EQ(b.status, 1);
  EXPECT_NE(b.err.find("is read-only"), std::string::npos) << b.err;
  EXPECT_EQ(bytesOf(workbook), before);  // refused before the analysis
  fs::permissions(dir / "locked", fs::perms::owner_all);

  const fs::path text = copy(kSource / "tests/data/e2e/text-condition.xlsx", "text.xlsx");
  b = batch({"--strict", "--json", at("t.json"), "--csv", at("t.csv"), text.string()});
  EXPECT_EQ(b.status, 1);
  EXPECT_FALSE(fs::exists(dir / "t.json"));
  EXPECT_FALSE(fs::exists(dir / "t.csv"));
}

}  // namespace
}  // namespace vk

// A campaign as the batch tool runs it, through the embedded engine on
// workbook files: the same output, reports and written cells for any number
// of jobs and any order of the names; a folder in which some workbooks
// fault; the exit status when faults and failed checks meet; copies that
// would clash; and one workbook, however it is named, as it always was.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "apps/batch/Campaign.h"
#include "tests/support/TestFolder.h"
#include "tests/support/XlsxCells.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
using Cells = test::StoredCells;
using test::sameCells;

const fs::path kSource = VK_SOURCE_DIR;

std::string bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every report holds analysis times; nothing else may differ between runs.
std::string withoutTimes(const std::string& text) {
  static const std::regex time("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ");
  return std::regex_replace(text, time, "ANALYSIS-TIME");
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

const std::vector<std::string> kCampaignBooks = {"diffuser-100scfm.xlsx", "diffuser-200scfm.xlsx",
                                                 "diffuser-300scfm.xlsx", "diffuser-400scfm.xlsx"};

struct Ran {
  int status;
  std::string out, err;
};

class CampaignRun : public ::testing::Test {
 protected:
  fs::path dir;

  void SetUp() override { dir = test::freshTestFolder("vk-campaign"); }
  void TearDown() override { fs::remove_all(dir); }

  // A copy of a shipped workbook in a folder of this test.
  fs::path put(const fs::path& from, const fs::path& folder, const std::string& name = {}) {
    fs::create_directories(folder);
    const fs::path to = folder / (name.empty() ? from.filename().string() : name);
    fs::copy_file(from, to);
    return to;
  }
  fs::path campaignBook(const std::string& name) { return kSource / "templates/campaign" / name; }
  fs::path e2eBook(const std::string& name) { return kSource / "tests/data/e2e" / name; }

  Ran run(const std::vector<std::string>& args) {
    std::string error;
    auto options = ParseBatchArguments(args, error);
    EXPECT_TRUE(options) << error;
    if (!options) return {-1, "", error};
    std::ostringstream out, err;
    const int status = RunWorkbooks(*options, {[] { return std::make_shared<XlsxEngine>(); }, {}, false}, out, err);
    return {status, out.str(), err.str()};
  }
};

// What one run leaves: its printing, its reports and every copy's results.
struct Outputs {
  Ran ran;
  std::string json, html, csv;
  std::map<std::string, std::pair<Cells, Cells>> cells;  // by copy's name: sheets 2 and 3
};

TEST_F(CampaignRun, TheSameOutputsForAnyNumberOfJobsAndAnyOrderOfTheNames) {
  const fs::path books = dir / "books";
  std::vector<std::string> paths;
  for (const std::string& name : kCampaignBooks) paths.push_back(put(campaignBook(name), books).string());
  for (const char* name : {"six-sets.xlsx", "airflow-empty.xlsx", "bench-6x300.xlsx"})
    paths.push_back(put(e2eBook(name), books).string());
  const auto outputs = [&](const std::string& tag, std::vector<std::string> args) {
    const fs::path copies = dir / tag;
    fs::create_directories(copies);
    args.insert(args.begin(), {"--output-dir", copies.string(), "--json", (dir / (tag + ".json")).string(), "--html",
                               (dir / (tag + ".html")).string(), "--csv", (dir / (tag + ".csv")).string()});
    Outputs o{run(args), bytes(dir / (tag + ".json")), bytes(dir / (tag + ".html")), bytes(dir / (tag + ".csv")), {}};
    for (const std::string& name : namesIn(copies))
      o.cells[name] = {test::readStoredCells((copies / name).string(), 2),
                       test::readStoredCells((copies / name).string(), 3)};
    return o;
  };
  std::vector<std::string> oneJob = {"--jobs", "1"}, fourJobs = {"--jobs", "4"};
  oneJob.insert(oneJob.end(), paths.begin(), paths.end());
  fourJobs.insert(fourJobs.end(), paths.rbegin(), paths.rend());
  const Outputs first = outputs("one-job", oneJob);
  ASSERT_EQ(first.ran.status, 0) << first.ran.err;
  ASSERT_EQ(first.cells.size(), paths.size());
  for (const Outputs& other :
       {outputs("four-jobs-reversed", fourJobs), outputs("folder", {"--jobs", "4", books.string()}),
        outputs("three-jobs-shuffled",
                {"--jobs", "3", paths[5], paths[2], paths[0], paths[6], paths[1], paths[4], paths[3]})}) {
    EXPECT_EQ(other.ran.status, 0) << other.ran.err;
    EXPECT_EQ(other.ran.out, first.ran.out);
    EXPECT_EQ(other.ran.err, first.ran.err);
    EXPECT_EQ(withoutTimes(other.json), withoutTimes(first.json));
    EXPECT_EQ(withoutTimes(other.html), withoutTimes(first.html));
    EXPECT_EQ(other.csv, first.csv);
    ASSERT_EQ(other.cells.size(), first.cells.size());
    for (const auto& [name, sheets] : first.cells) {
      EXPECT_TRUE(sameCells(other.cells.at(name).first, sheets.first)) << name;
      EXPECT_TRUE(sameCells(other.cells.at(name).second, sheets.second)) << name;
    }
  }
  // The order is the names', whatever the order they were given in.
  const nlohmann::json doc = nlohmann::json::parse(first.json);
  const auto& summary = doc["campaign"]["summary"];
  ASSERT_EQ(summary.size(), 7u);
  EXPECT_EQ(summary[0]["name"], "airflow-empty.xlsx");
  EXPECT_EQ(summary[1]["name"], "bench-6x300.xlsx");
  EXPECT_EQ(summary[2]["name"], "diffuser-100scfm.xlsx");
  EXPECT_EQ(summary[0]["on_curve"], false);  // no air flow: in the table, not on the curve
  EXPECT_EQ(doc["campaign"]["curves"]["sote_percent"]["points"], 6);
  EXPECT_EQ(doc["tests"].size(), 7u);
  EXPECT_EQ(doc["tests"][2]["header"]["workbook"]["name"], "diffuser-100scfm.xlsx");
  // The submergence only where the workbook gives it.
  EXPECT_EQ(summary[2]["diffuser_submergence"]["us"], 14.5);
  EXPECT_TRUE(summary[1]["ssote"].contains("not_applicable"));
  EXPECT_NEAR(summary[2]["ssote"]["percent_per_ft"]["estimate"].get<double>(),
              summary[2]["sote_percent"]["estimate"].get<double>() / 14.5, 1e-12);
}

// 1 when a workbook faulted, else 3 when a check failed under --strict; the
// checks that did not pass are named with their workbook.
TEST_F(CampaignRun, TheExitStatusIsTheWorstOfTheWorkbooks) {
  const fs::path criteria = dir / "criteria.json";
  std::ofstream(criteria) << R"({"kept_readings_hard_min": 100})";  // three-sets keeps 15
  const fs::path good = put(campaignBook(kCampaignBooks[0]), dir / "books");
  const fs::path short15 = put(e2eBook("three-sets.xlsx"), dir / "books");
  const Ran failed = run({"--strict", "--criteria", criteria.string(), good.string(), short15.string()});
  EXPECT_EQ(failed.status, 3) << failed.err;
  EXPECT_NE(failed.err.find(short15.string() + ": fail: data set 1: kept-readings:"), std::string::npos) << failed.err;
  EXPECT_EQ(failed.err.find(good.string() + ":"), std::string::npos) << failed.err;

  const fs::path faulty = put(e2eBook("text-condition.xlsx"), dir / "books");
  const Ran both = run({"--strict", "--criteria", criteria.string(), good.string(), short15.string(), faulty.string()});
  EXPECT_EQ(both.status, 1);
  EXPECT_EQ(run({good.string(), short15.string()}).status, 0);
}

// A folder of good workbooks, one whose input the analysis refuses, one
// LibreOffice has open (its lock file beside it), a damaged .xlsx and a
// file of another kind: the good ones are analysed, the others named with
// their reason, and nothing is left behind but what was asked for.
TEST_F(CampaignRun, AFolderWithFaultyWorkbooksAnalysesTheGoodOnesAndLeavesNothingElse) {
  const fs::path books = dir / "books", reports = dir / "reports";
  fs::create_directories(reports);
  std::vector<fs::path> good;
  for (std::size_t k = 0; k < 3; ++k) good.push_back(put(campaignBook(kCampaignBooks[k]), books));
  const fs::path refused = put(e2eBook("text-condition.xlsx"), books);
  const fs::path locked = put(campaignBook(kCampaignBooks[3]), books, "locked.xlsx");
  std::ofstream(books / ".~lock.locked.xlsx#", std::ios::binary)
      << "Someone Else,someone,otherhost,01.01.2024 10:00,file:///home/someone/.config/libreoffice/4;";
  const fs::path damaged = books / "damaged.xlsx";
  std::ofstream(damaged, std::ios::binary) << bytes(campaignBook(kCampaignBooks[3])).substr(0, 9000);
  std::ofstream(books / "notes.txt") << "the diffusers were cleaned on Monday\n";
  std::map<std::string, std::string> before;
  for (const std::string& name : namesIn(books)) before[name] = bytes(books / name);

  const Ran ran = run({"--jobs", "2", "--json", (reports / "c.json").string(), "--html", (reports / "c.html").string(),
                       "--csv", (reports / "c.csv").string(), books.string()});
  EXPECT_EQ(ran.status, 1);
  for (const fs::path& g : good) EXPECT_NE(bytes(g), before.at(g.filename().string())) << g << " was not analysed";
  for (const fs::path& bad : {refused, locked, damaged})
    EXPECT_TRUE(bytes(bad) == before.at(bad.filename().string())) << bad << " was changed";
  EXPECT_EQ(bytes(books / ".~lock.locked.xlsx#"), before.at(".~lock.locked.xlsx#"));
  const std::vector<std::pair<fs::path, std::string>> reasons = {
      {refused, "sheet 1, cell C9 holds the text \"warm\""},
      {locked, "is open in another program: Someone Else holds its lock file"},
      {damaged, "is not an .xlsx or .xlsm workbook"}};
  for (const auto& [bad, reason] : reasons) {
    EXPECT_NE(ran.err.find(bad.string() + ": "), std::string::npos) << bad;
    EXPECT_NE(ran.err.find(reason), std::string::npos) << reason << "\n" << ran.err;
  }
  EXPECT_EQ(ran.err.find("notes.txt"), std::string::npos) << "another kind of file was named";
  EXPECT_EQ(ran.err.find(good[0].string()), std::string::npos) << ran.err;

  // Nothing left behind: the workbooks' folder holds what it held, the
  // reports' the three reports.
  EXPECT_EQ(namesIn(books), [&] {
    std::set<std::string> names;
    for (const auto& [name, content] : before) names.insert(name);
    return names;
  }());
  EXPECT_EQ(namesIn(reports), (std::set<std::string>{"c.csv", "c.html", "c.json"}));
  const nlohmann::json doc = nlohmann::json::parse(bytes(reports / "c.json"));
  EXPECT_EQ(doc["campaign"]["analysed"], 3);
  EXPECT_EQ(doc["campaign"]["faulted"], 3);
  EXPECT_EQ(doc["tests"].size(), 3u);
  EXPECT_TRUE(doc["campaign"]["curves"]["sote_percent"]["fit"].contains("b"));  // three distinct air flows
  const auto& summary = doc["campaign"]["summary"];
  ASSERT_EQ(summary.size(), 6u);
  EXPECT_EQ(summary[4]["name"], "locked.xlsx");
  EXPECT_NE(summary[4]["fault"].get<std::string>().find("open in another"), std::string::npos);
  EXPECT_TRUE(summary[4]["verdict"].is_null());
}

// The copies keep their names, so two workbooks of one name, or a copy that
// would be a workbook itself, are usage errors before anything runs; an
// existing copy needs --force.
TEST_F(CampaignRun, CopiesKeepTheirNamesAndNeverReplaceUnasked) {
  const fs::path a = put(campaignBook(kCampaignBooks[0]), dir / "a", "run.xlsx");
  const fs::path b = put(campaignBook(kCampaignBooks[1]), dir / "b", "run.xlsx");
  const fs::path c = put(campaignBook(kCampaignBooks[2]), dir / "b");
  const fs::path copies = dir / "copies";
  fs::create_directories(copies);
  const std::string original = bytes(a);
  Ran clash = run({"--output-dir", copies.string(), a.string(), b.string()});
  EXPECT_EQ(clash.status, 2);
  EXPECT_NE(clash.err.find("would both be copied to " + (copies / "run.xlsx").string()), std::string::npos)
      << clash.err;
  Ran itself = run({"--output-dir", (dir / "b").string(), b.string(), c.string()});
  EXPECT_EQ(itself.status, 2);
  EXPECT_NE(itself.err.find("would be the workbook"), std::string::npos) << itself.err;
  EXPECT_TRUE(namesIn(copies).empty());

  std::ofstream(copies / c.filename()) << "an earlier copy";
  Ran kept = run({"--output-dir", copies.string(), a.string(), c.string()});
  EXPECT_EQ(kept.status, 1);
  EXPECT_NE(kept.err.find("exists already; give --force"), std::string::npos) << kept.err;
  EXPECT_EQ(bytes(copies / c.filename()), "an earlier copy");
  EXPECT_TRUE(fs::exists(copies / "run.xlsx"));
  EXPECT_EQ(run({"--force", "--output-dir", copies.string(), a.string(), c.string()}).status, 0);
  EXPECT_NE(bytes(copies / c.filename()), "an earlier copy");
  EXPECT_TRUE(bytes(a) == original);
}

// One workbook is analysed as it always was, also when it is the only one
// in a folder or is named twice, once through a link.
TEST_F(CampaignRun, OneWorkbookHoweverNamedIsTheSingleRunOfOld) {
  const fs::path book = put(e2eBook("three-sets.xlsx"), dir / "alone");
  const std::string original = bytes(book);
  std::ostringstream out, err;
  BatchOptions single;
  single.workbook = book.string();
  single.inputs = {book.string()};
  single.output = (dir / "single.xlsx").string();
  ASSERT_EQ(RunBatch(single, std::make_shared<XlsxEngine>(), out, err), 0) << err.str();
  const Cells expected = test::readStoredCells((dir / "single.xlsx").string(), 3);

  fs::create_symlink(book, dir / "alone-link.xlsx");
  fs::create_hard_link(book, dir / "alone-hard.xlsx");
  std::ofstream(dir / "alone" / "readme.md") << "one test";
  int k = 0;
  for (const std::vector<std::string>& given :
       {std::vector<std::string>{(dir / "alone").string()},
        {book.string(), (dir / "alone-link.xlsx").string(), book.string(), (dir / "alone-hard.xlsx").string()}}) {
    const fs::path copies = dir / ("copies-" + std::to_string(++k));
    fs::create_directories(copies);
    std::vector<std::string> args = {"--output-dir", copies.string()};
    args.insert(args.end(), given.begin(), given.end());
    const Ran ran = run(args);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out, out.str());  // the single run's table, no campaign
    EXPECT_EQ(namesIn(copies).size(), 1u);
    EXPECT_TRUE(sameCells(test::readStoredCells((copies / *namesIn(copies).begin()).string(), 3), expected));
  }
  EXPECT_TRUE(bytes(book) == original);
  fs::create_directories(dir / "nothing");
  const Ran none = run({(dir / "nothing").string()});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("no workbook in " + (dir / "nothing").string() + " (files ending .xlsx, .xlsm)"),
            std::string::npos)
      << none.err;
}

}  // namespace
}  // namespace vk

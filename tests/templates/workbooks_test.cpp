// The committed template, sample and test workbooks hold what the generator
// makes, and the data of each test workbook does what its name says.

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "templates/TestBooks.h"
#include "tests/Digits.h"
#include "tests/support/SamePackage.h"
#include "tests/support/WorkedExample.h"
#include "workbook/Book.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
using books::TestBook;

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Workbooks, CommittedFilesAreWhatTheGeneratorMakes) {
  const fs::path out = fs::temp_directory_path() / ("vk-workbooks-" + std::to_string(getpid()));
  fs::remove_all(out);
  const std::string command = std::string("'") + VK_MAKE_WORKBOOKS + "' '" + out.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::set<std::string> made;
  for (const auto& entry : fs::recursive_directory_iterator(out))
    if (entry.is_regular_file()) made.insert(fs::relative(entry.path(), out).generic_string());
  std::set<std::string> expected;
  for (const auto& b : books::allBooks()) expected.insert(b.path);
  EXPECT_EQ(made, expected);

  for (const auto& path : expected) {
    SCOPED_TRACE(path);
    const fs::path committed = fs::path(VK_SOURCE_DIR) / path;
    ASSERT_TRUE(fs::exists(committed)) << "not committed; run the target 'workbooks'";
    EXPECT_TRUE(test::samePackage(contents(committed), contents(out / path)))
        << "differs from the generator's; run the target 'workbooks'";
  }
  // No workbook is committed that the generator no longer makes.
  for (const char* dir : {"templates", "templates/campaign", "tests/data/e2e"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(VK_SOURCE_DIR) / dir)) {
      if (entry.path().extension() != ".xlsx") continue;
      EXPECT_TRUE(expected.count(std::string(dir) + "/" + entry.path().filename().string())) << entry.path();
    }
  }
  fs::remove_all(out);
}

// The readings of a test workbook held in memory, ready for trimming and fits.
struct Analysis {
  Module1 m;
  std::shared_ptr<MemoryEngine> engine = std::make_shared<MemoryEngine>();
  TrimWork work;
  FitLocals fit;

  explicit Analysis(const TestBook& b) {
    m.Engine = engine;
    m.WorkbookPath = m.WorkbookName = "analysis.xlsx";
    OpenBook(m);
    m.NumSets = Integer::checked(long(b.probes.size()));
    m.NumPoints = Integer::checked(long(b.times.size()));
    m.dimensionReadings(m.NumSets, m.NumPoints);
    for (int s = 1; s <= m.NumSets; ++s)
      for (int p = 1; p <= m.NumPoints; ++p) {
        m.ConcRaw(s, p) = float(b.probes[std::size_t(s - 1)][std::size_t(p - 1)]);
        m.TimesRaw(s, p) = float(b.times[std::size_t(p - 1)]);
      }
  }
  // Every set at the 16 start thresholds of the initial analysis.
  void initialAnalysis() {
    for (int level = 1; level <= 16; ++level) {
      RestoreData(m);
      m.StartPercent = float((level - 1) * 2);
      for (int s = 1; s <= m.NumSets; ++s) {
        SelectFitWindow(m, work, s);
        StartEstimates(m, work, s);
      }
    }
  }
  // Trims and fits one set; true when the fit converged.
  bool run(int set, float startPercent) {
    RestoreData(m);
    m.StartPercent = startPercent;
    SelectFitWindow(m, work, set);
    StartEstimates(m, work, set);
    StartFit(m, fit, set);
    return FitDataSet(m, fit, set).converged();
  }
  int kept(int set) { return int(m.NumKept[set].asInteger()); }
};

bool analysable(const TestBook& b) {
  return !b.probes.empty() && b.sheets >= 3 && !b.errorReading && std::holds_alternative<double>(b.conditions[2]) &&
         b.entries.empty();
}

TEST(Workbooks, ConditionsAgreeWithTheReadings) {
  for (const auto& b : books::allBooks()) {
    SCOPED_TRACE(b.path);
    ASSERT_EQ(b.conditions.size(), 6u);
    if (b.probes.empty()) {
      for (const auto& c : b.conditions) EXPECT_TRUE(std::holds_alternative<std::monostate>(c));
      continue;
    }
    EXPECT_EQ(std::get<double>(b.conditions[0]), double(b.times.size()));
    EXPECT_EQ(std::get<double>(b.conditions[1]), double(b.probes.size()));
    EXPECT_LE(b.probes.size(), 6u);
    for (const auto& probe : b.probes) EXPECT_EQ(probe.size(), b.times.size());
  }
}

TEST(Workbooks, EveryTestIsAnalysedWithoutFault) {
  for (const auto& b : books::allBooks()) {
    if (!analysable(b)) continue;
    SCOPED_TRACE(b.path);
    Analysis a(b);
    EXPECT_NO_THROW(a.initialAnalysis());
    for (int s = 1; s <= int(b.probes.size()); ++s) {
      SCOPED_TRACE(s);
      const bool lineOfSet2 = b.path == "tests/data/e2e/not-converging.xlsx" && s == 2;
      bool converged = false;
      EXPECT_NO_THROW(converged = a.run(s, 1));
      EXPECT_EQ(converged, !lineOfSet2);
    }
  }
}

TEST(Workbooks, SampleProbeOneIsTheWorkedExample) {
  const TestBook& b = books::book("templates/sample.xlsx");
  ASSERT_EQ(b.probes.size(), 3u);
  EXPECT_EQ(b.times, test::worked::kTimes);
  EXPECT_EQ(b.probes[0], test::worked::kReadings);
  Analysis a(b);
  ASSERT_TRUE(a.run(1, 10));
  EXPECT_EQ(int(a.fit.PassCount[1]), test::worked::kPassCount);
  EXPECT_DIGITS(a.fit.StdErr[1].asDouble(), test::worked::kStdErr);
}

TEST(Workbooks, NotConvergingStopsAfterElevenPasses) {
  Analysis a(books::book("tests/data/e2e/not-converging.xlsx"));
  EXPECT_FALSE(a.run(2, 1));
  EXPECT_EQ(int(a.fit.PassCount[2]), kMaxPasses);
  EXPECT_TRUE(a.fit.StdErr[2].isEmpty());
}

TEST(Workbooks, FirstAboveThirtyPercentKeepsEveryReadingAtEveryLevel) {
  const TestBook& b = books::book("tests/data/e2e/first-above-30-percent.xlsx");
  EXPECT_GT(b.probes[0].front(), 0.3 * b.probes[0].back());
  Analysis a(b);
  for (int level = 0; level <= 30; level += 2) {
    a.run(1, float(level));
    EXPECT_EQ(a.kept(1), int(b.times.size())) << level;
  }
}

TEST(Workbooks, FourKeptAtTheDefaultThreshold) {
  Analysis a(books::book("tests/data/e2e/four-kept.xlsx"));
  ASSERT_TRUE(a.run(1, 1));
  EXPECT_EQ(a.kept(1), 4);
  // The residual variance divides by n - 3 = 1.
  EXPECT_FALSE(a.fit.StdErr[1].isEmpty());
}

TEST(Workbooks, AirFlowBooksDifferOnlyInC12) {
  const TestBook& zero = books::book("tests/data/e2e/airflow-zero.xlsx");
  const TestBook& empty = books::book("tests/data/e2e/airflow-empty.xlsx");
  EXPECT_EQ(zero.probes, empty.probes);
  EXPECT_EQ(zero.times, empty.times);
  for (std::size_t c = 0; c < 5; ++c) EXPECT_EQ(zero.conditions[c], empty.conditions[c]);
  EXPECT_EQ(std::get<double>(zero.conditions[5]), 0.0);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(empty.conditions[5]));
}

}  // namespace
}  // namespace vk

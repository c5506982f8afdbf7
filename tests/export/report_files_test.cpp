// The JSON and CSV report files: what they hold, that they hold it the same
// way every time, and the workbook's SHA-256.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "export/CsvSummary.h"
#include "export/JsonReport.h"
#include "export/Sha256.h"
#include "tests/assess/Scenarios.h"

namespace vk::exporter {
namespace {

using nlohmann::json;

struct Analysed {
  assess::RunRecord record;
  assess::Assessment assessment;
};

Analysed analyse(const test::ProgramTest& t, bool fullCurve = false) {
  Analysed a{test::runProgram(t), {}};
  a.assessment = assess::assess(a.record, assess::Criteria(), {vk::trimWithProgram, fullCurve});
  return a;
}

const ReportHeader kHeader{"0.1.0", "2024-05-01T10:00:00Z", "embedded", "test.xlsx",
                           "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"};

std::string csvOf(const Analysed& a) {
  std::ostringstream out;
  writeCsv(out, a.record, a.assessment);
  return out.str();
}

std::vector<std::vector<std::string>> csvCells(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) rows.back().push_back(cell);
    if (!line.empty() && line.back() == ',') rows.back().push_back("");
  }
  return rows;
}

TEST(Sha256, KnownDigestsOfBytesAndOfAFile) {
  // FIPS 180-2 test vectors.
  EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");

  const std::string path = ::testing::TempDir() + "sha256_test.bin";
  std::string bytes(200000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 % 251);
  std::ofstream(path, std::ios::binary) << bytes;
  EXPECT_EQ(sha256OfFile(path), sha256Hex(bytes));  // read in several pieces
  std::remove(path.c_str());
  EXPECT_THROW(sha256OfFile(path), std::runtime_error);
}

TEST(JsonReport, HoldsTheHeaderTheProgramsResultsAndTheAssessment) {
  const Analysed a = analyse(test::sixProbeTest(), true);
  const json doc = json::parse(assessmentJson(kHeader, a.record, a.assessment));
  EXPECT_EQ(doc["schema_version"], kSchemaVersion);
  EXPECT_EQ(doc["header"]["analysis_time"], kHeader.analysisTime);
  EXPECT_EQ(doc["header"]["workbook"]["sha256"], kHeader.workbookSha256);
  ASSERT_EQ(doc["sets"].size(), 6u);
  const json& set = doc["sets"][5];
  EXPECT_EQ(set["set"], 6);
  // The program's figures as the Run left them, SI beside US.
  const assess::ProgramFigures& f = a.record.sets[5].figures;
  EXPECT_EQ(set["program"]["figures"]["kla20_per_h"].get<double>(), f.kla20);
  EXPECT_EQ(set["program"]["figures"]["sotr"]["us"].get<double>(), f.sotr);
  EXPECT_DOUBLE_EQ(set["program"]["figures"]["sotr"]["si"].get<double>(), f.sotr * 0.45359237);
  EXPECT_DOUBLE_EQ(set["program"]["figures"]["saturation_depth"]["si"].get<double>(), f.satDepthFt * 0.3048);
  EXPECT_EQ(set["initial_analysis"].size(), 16u);
  EXPECT_EQ(set["truncation"]["points"].size(), 16u);
  EXPECT_EQ(set["optimum"]["kla_per_min"].get<double>(), a.assessment.sets[5].optimum.params.kla);
  EXPECT_EQ(doc["checks"].size(), a.assessment.checks.size());
  EXPECT_EQ(doc["verdict"], "pass");
  EXPECT_NE(doc["interval_note"].get<std::string>().find("serially correlated"), std::string::npos);
}

TEST(JsonReport, WhatCannotBeMeasuredIsNotApplicableWithItsReasonNeverNull) {
  test::ProgramTest t = test::sixProbeTest();
  t.sets.resize(1);
  t.conditions.airFlowScfm = 0;
  Analysed a = analyse(t);
  a.record.sets[0].figures.omega = std::nan("");  // a figure no number can stand for
  const json doc = json::parse(assessmentJson(kHeader, a.record, a.assessment));
  EXPECT_EQ(doc["probe_spread"]["kla20_per_h"]["not_applicable"], "one probe");
  EXPECT_EQ(doc["probe_spread"]["sote_percent"]["not_applicable"], "no air flow is given");
  EXPECT_EQ(doc["conditions"]["air_flow"]["not_applicable"], "no air flow is given");
  EXPECT_EQ(doc["sets"][0]["program"]["figures"]["sote_percent"]["not_applicable"], "no air flow is given");
  EXPECT_EQ(doc["sets"][0]["program"]["figures"]["omega"]["not_applicable"], "not a finite number");
  for (const json& check : doc["checks"]) {
    if (check["id"] == "probe-spread") {
      EXPECT_EQ(check["verdict"], "not applicable");
    }
  }
}

TEST(ReportFiles, AreTheSameByteForByteFromTheSameRun) {
  const test::ProgramTest t = test::sixProbeTest(15, [](int probe, test::ProbeShape& p) {
    if (probe == 5) p.kla = 0.27;
  });
  const Analysed first = analyse(t, true), second = analyse(t, true);
  EXPECT_EQ(assessmentJson(kHeader, first.record, first.assessment),
            assessmentJson(kHeader, second.record, second.assessment));
  EXPECT_EQ(csvOf(first), csvOf(second));

  // Only the analysis time differs between two analyses of one workbook.
  ReportHeader later = kHeader;
  later.analysisTime = "2024-05-01T11:30:00Z";
  std::string text = assessmentJson(kHeader, first.record, first.assessment);
  const auto at = text.find(kHeader.analysisTime);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.find(kHeader.analysisTime, at + 1), std::string::npos);
  text.replace(at, kHeader.analysisTime.size(), later.analysisTime);
  EXPECT_EQ(text, assessmentJson(later, first.record, first.assessment));
}

TEST(CsvSummary, OneRowPerProbeWithEveryFigureReadingBackExactly) {
  const test::ProgramTest t = test::sixProbeTest(15, [](int probe, test::ProbeShape& p) {
    if (probe == 5) p.kla = 0.27;
  });
  const Analysed a = analyse(t);
  const auto rows = csvCells(csvOf(a));
  ASSERT_EQ(rows.size(), 7u);
  const auto column = [&](const std::string& heading) {
    for (std::size_t c = 0; c < rows[0].size(); ++c)
      if (rows[0][c] == heading) return c;
    ADD_FAILURE() << "no column " << heading;
    return std::size_t(0);
  };
  for (std::size_t r = 1; r < rows.size(); ++r) {
    ASSERT_EQ(rows[r].size(), rows[0].size()) << "row " << r;
    EXPECT_EQ(rows[r][column("set")], std::to_string(r));
    EXPECT_EQ(std::stod(rows[r][column("kla20_per_h")]), a.record.sets[r - 1].figures.kla20);
    EXPECT_EQ(std::stod(rows[r][column("sotr_kg_o2_per_h")]), a.record.sets[r - 1].figures.sotr * 0.45359237);
    EXPECT_LT(std::stod(rows[r][column("kla20_ci95_low")]), std::stod(rows[r][column("kla20_ci95_high")]));
  }
  EXPECT_EQ(rows[6][column("checks_not_passed")], "probe-outlier=warn");
  EXPECT_EQ(rows[1][column("checks_not_passed")], "");

  test::ProgramTest noAir = test::sixProbeTest();
  noAir.conditions.airFlowScfm = 0;
  const auto noAirRows = csvCells(csvOf(analyse(noAir)));
  EXPECT_EQ(noAirRows[1][column("sote_percent")], "");
  EXPECT_EQ(noAirRows[1][column("sote_ci95_low")], "");
}

}  // namespace
}  // namespace vk::exporter

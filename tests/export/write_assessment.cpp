// Writes the JSON and CSV of an assessment, for the schema and determinism
// checks that ctest runs on them:
//   write_assessment SCENARIO JSON_FILE CSV_FILE ANALYSIS_TIME
// SCENARIO: "six-probes" (the full truncation curve) or "one-probe-no-air"
// (one probe, no air flow, a threshold the trimming cannot meet).

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "export/CsvSummary.h"
#include "export/JsonReport.h"
#include "export/Sha256.h"
#include "tests/assess/Scenarios.h"

using namespace vk;

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: write_assessment SCENARIO JSON_FILE CSV_FILE ANALYSIS_TIME\n";
    return 2;
  }
  const std::string scenario = argv[1];
  test::ProgramTest t = test::sixProbeTest();
  assess::Trimming trim = vk::trimWithProgram;
  if (scenario == "one-probe-no-air") {
    t.sets.resize(1);
    t.conditions.airFlowScfm = 0;
    trim = [](const assess::Readings& raw, double percent) {
      if (percent >= 26) throw std::runtime_error("no reading is above the start threshold");
      return vk::trimWithProgram(raw, percent);
    };
  } else if (scenario != "six-probes") {
    std::cerr << "unknown scenario " << scenario << "\n";
    return 2;
  }
  const assess::RunRecord record = test::runProgram(t);
  const assess::Assessment a = assess::assess(record, assess::Criteria(), {trim, true});
  const exporter::ReportHeader header{"0.1.0", argv[4], "memory", "assessed.xlsx",
                                      exporter::sha256Hex("assessed.xlsx")};
  std::ofstream json(argv[2], std::ios::binary), csv(argv[3], std::ios::binary);
  exporter::writeJson(json, header, record, a);
  exporter::writeCsv(csv, record, a);
  return json && csv ? 0 : 1;
}

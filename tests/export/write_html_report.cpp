// Writes the HTML report of a test for the browser and determinism checks,
// and prints on stdout what the report must show, counted from the record:
//   write_html_report SCENARIO OUT.html ANALYSIS_TIME
//   -> "probes=6 figures=14 markers=412 pages=9"
// or only the printed pages of a report of N probes:
//   write_html_report pages N  -> "9"
// or the pages of a campaign report before its tests:
//   write_html_report campaign-pages  -> "2"
// SCENARIO: a generated workbook by its path in the source tree
// ("templates/sample.xlsx", "tests/data/e2e/six-sets.xlsx", ...), read from
// the generator's own data, or "six-by-N": six synthetic probes of N
// readings over 30 minutes.

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>

#include "export/Sha256.h"
#include "export/html/CampaignReport.h"
#include "export/html/HtmlReport.h"
#include "tests/assess/Scenarios.h"
#include "tests/support/BookTest.h"

using namespace vk;

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "pages") {
    std::cout << exporter::htmlTestPages(std::stoul(argv[2])) << "\n";
    return 0;
  }
  if (argc == 2 && std::string(argv[1]) == "campaign-pages") {
    std::cout << exporter::kCampaignFrontPages << "\n";
    return 0;
  }
  if (argc != 4) {
    std::cerr << "usage: write_html_report SCENARIO OUT.html ANALYSIS_TIME\n";
    return 2;
  }
  const std::string scenario = argv[1];
  test::ProgramTest t;
  std::string name = scenario, sha;
  if (scenario.rfind("six-by-", 0) == 0) {
    const int n = std::stoi(scenario.substr(7));
    t = test::sixProbeTest(15, {}, 30.0 / n, n);
    name = scenario + ".xlsx";
  } else {
    t = test::bookTest(books::book(scenario));
    name = scenario.substr(scenario.rfind('/') + 1);
    sha = exporter::sha256OfFile(std::string(VK_SOURCE_DIR) + "/" + scenario);
  }
  const assess::RunRecord record = test::runProgram(t);
  const assess::Assessment a = assess::assess(record, assess::Criteria(), {vk::trimWithProgram, true});
  const exporter::ReportHeader header{"0.1.0", argv[3], "embedded", name, sha};
  std::ofstream out(argv[2], std::ios::binary);
  exporter::writeHtmlReport(out, header, record, a);
  out.close();
  if (!out) {
    std::cerr << "write_html_report: cannot write " << argv[2] << "\n";
    return 1;
  }

  // Every reading on its probe's DO plot, every kept one on its residual
  // plot (at most 2,000 of each, thinned), every fitted threshold on both
  // sensitivity plots.
  const auto drawn = [](std::size_t n) { return std::min<std::size_t>(n, 2000); };
  std::size_t markers = 0;
  for (std::size_t i = 0; i < record.sets.size(); ++i) {
    markers += drawn(record.sets[i].raw.size()) + drawn(record.sets[i].kept.size());
    for (const auto& p : a.sets[i].truncation.points) markers += p.fit ? 2u : 0u;
  }
  std::cout << "probes=" << record.sets.size() << " figures=" << 2 * record.sets.size() + 2 << " markers=" << markers
            << " pages=" << exporter::htmlTestPages(record.sets.size()) << "\n";
  return 0;
}

#pragma once
// A campaign's report files (--html, --json, --csv). Each test's part is
// rendered by the thread that analysed it and spooled, in the campaign's
// order, as soon as its turn comes, so that memory does not grow with the
// number of tests. At the end the summary and the curves are written before
// the tests, every file staged beside its place and then put there whole.

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "apps/batch/ReportOutputs.h"
#include "campaign/PerformanceCurve.h"
#include "export/SpoolFile.h"

namespace vk {

class CampaignReports {
 public:
  // Starts the spools; a std::runtime_error when one cannot be made.
  CampaignReports(const ReportOptions& report, const std::string& engine);

  // Whether the reports show every test (--html or --json).
  bool holdTests() const { return report_.html || report_.json; }

  struct TestParts {
    std::string html;
    std::string json;
  };
  // Called on any thread: it reads only the test.
  TestParts render(const PreparedReports& test) const;
  // In the campaign's order.
  void add(const TestParts& parts);

  // Stages every file, then puts them in place (the JSON to `out` for "-").
  // Returns kExitAnalysed, or kExitFault with the reason on `err`.
  int finish(const std::vector<campaign::CampaignRow>& rows, const campaign::CampaignCurves& curves, std::ostream& out,
             std::ostream& err);

 private:
  const ReportOptions& report_;
  exporter::CampaignHeader header_;
  std::unique_ptr<exporter::SpoolFile> html_, json_;
  bool firstJson_ = true;
};

}  // namespace vk

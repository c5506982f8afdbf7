#pragma once
// The pages of one test's report, each a <section class="page"> of its own
// (see HtmlReport.h for what fits on which page), and the basis.

#include <iosfwd>
#include <vector>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"
#include "export/JsonReport.h"

namespace vk::exporter::html {

void writeSummaryPage(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
                      const assess::Assessment& assessment);
void writeChecklistPage(std::ostream& out, const assess::RunRecord& record, const assess::Assessment& assessment);
void writeProbePage(std::ostream& out, const assess::SetRecord& record, const assess::SetAssessment& assessment,
                    const std::vector<assess::CheckResult>& checks);
void writeTruncationPage(std::ostream& out, const assess::RunRecord& record, const assess::Assessment& assessment);
void writeBasis(std::ostream& out);

// The worst verdict of one set's checks (0: the whole test's); "not
// applicable" only when no check applies.
assess::Verdict worstVerdict(const std::vector<assess::CheckResult>& checks, int set);

}  // namespace vk::exporter::html

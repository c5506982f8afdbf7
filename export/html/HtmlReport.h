#pragma once
// The test report as one self-contained HTML5 file: no script, nothing from
// the network, plots as inline SVG, A4 print styles. It is written as it
// goes, page by page, so that a campaign report can put many tests in one
// file without holding them in memory:
//
//   writeHtmlHead(out, "Campaign");
//   for (each test) writeTestSection(out, header, record, assessment);
//   writeBasisSection(out);
//   writeHtmlTail(out);
//
// Printed, a test takes htmlTestPages(probes) A4 pages: every page section
// starts a new page and is laid out to fit on one, for at most six probes
// and the pass limit's eleven fit passes:
//   1. header, test conditions, results per probe and between the probes;
//   2. the validity checklist;
//   one page per probe: DO against time, residuals, the parameters with
//      their uncertainty, the fit history and the optimum;
//   last: the truncation sensitivity, followed on the same page by the basis
//      and assumptions when the basis section comes next.
//
// Given the same inputs the text is the same byte for byte; the analysis
// time is the only input that changes between two runs on one workbook.

#include <cstddef>
#include <iosfwd>
#include <string_view>

#include "assess/Assessment.h"
#include "assess/RunRecord.h"
#include "export/JsonReport.h"

namespace vk::exporter {

inline constexpr std::size_t kHtmlFrontPages = 2;    // summary, checklist
inline constexpr std::size_t kHtmlClosingPages = 1;  // truncation sensitivity (and the basis)

inline constexpr std::size_t htmlTestPages(std::size_t probes) { return kHtmlFrontPages + probes + kHtmlClosingPages; }

// The document's start: doctype, title, style sheet (with `extraStyle`
// after the report's own), and the body opened.
void writeHtmlHead(std::ostream& out, std::string_view documentTitle, std::string_view extraStyle = {});
// Every page of one test, from its header to its truncation sensitivity.
// The assessment is the one of `record`; with its full truncation curve the
// sensitivity plots have all sixteen thresholds.
void writeTestSection(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
                      const assess::Assessment& assessment);
// The standardisation basis and the assumptions behind every interval; once
// per document, after the last test.
void writeBasisSection(std::ostream& out);
void writeHtmlTail(std::ostream& out);

// The report of one test: head, its section, the basis, tail.
void writeHtmlReport(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
                     const assess::Assessment& assessment);

}  // namespace vk::exporter

#include "export/html/HtmlReport.h"

#include <ostream>
#include <stdexcept>
#include <string>

#include "export/html/PageStyle.h"
#include "export/html/Sections.h"
#include "export/html/Text.h"

namespace vk::exporter {

void writeHtmlHead(std::ostream& out, std::string_view documentTitle, std::string_view extraStyle) {
  // Written as XML as well as HTML (void elements closed, no named entities
  // beyond XML's), so that tools and tests can parse it as either.
  out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>" << html::esc(documentTitle)
      << "</title>\n<style>" << html::kPageStyle << extraStyle << "</style>\n</head>\n<body>\n";
}

void writeTestSection(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
                      const assess::Assessment& assessment) {
  if (assessment.sets.size() != record.sets.size())
    throw std::invalid_argument(
        "the assessment is not the one of this record: " + std::to_string(assessment.sets.size()) + " sets assessed, " +
        std::to_string(record.sets.size()) + " recorded");
  out << "<article class=\"test\">\n";
  html::writeSummaryPage(out, header, record, assessment);
  html::writeChecklistPage(out, record, assessment);
  for (std::size_t i = 0; i < record.sets.size(); ++i)
    html::writeProbePage(out, record.sets[i], assessment.sets[i], assessment.checks);
  html::writeTruncationPage(out, record, assessment);
  out << "</article>\n";
}

void writeBasisSection(std::ostream& out) { html::writeBasis(out); }

void writeHtmlTail(std::ostream& out) { out << "</body>\n</html>\n"; }

void writeHtmlReport(std::ostream& out, const ReportHeader& header, const assess::RunRecord& record,
                     const assess::Assessment& assessment) {
  writeHtmlHead(out, "Oxygen-transfer test report: " + header.workbookName);
  writeTestSection(out, header, record, assessment);
  writeBasisSection(out);
  writeHtmlTail(out);
}

}  // namespace vk::exporter

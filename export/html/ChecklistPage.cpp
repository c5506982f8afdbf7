// The validity checklist on a page of its own: the per-probe checks as one
// row per check and one column per probe, then the checks of the whole
// test. Each verdict is its word on its colour; a value that could not be
// measured points to its reason beneath the tables.

#include <ostream>
#include <string>
#include <vector>

#include "export/html/Sections.h"
#include "export/html/Text.h"

namespace vk::exporter::html {
namespace {

using namespace vk::assess;

const char* comparison(Compare c) {
  switch (c) {
    case Compare::AtMost: return "≤";
    case Compare::AtLeast: return "≥";
    case Compare::Below: return "&lt;";
    case Compare::Above: return "&gt;";
  }
  return "";
}

std::string limitText(const LimitRow& row, double limit) {
  std::string text = esc(row.quantity) + ": " + comparison(row.compare) + " " + number(limit, 4);
  if (row.unit[0] != '\0') text += " " + esc(row.unit);
  return text;
}

std::string measured(const CheckResult& c, Notes& notes) {
  std::vector<std::string> parts;
  for (const Measurement& m : c.measurements) {
    const std::string part = m.value ? number(*m.value, 3) : notes.notApplicable(m.value.reason);
    bool seen = false;
    for (const auto& p : parts) seen = seen || p == part;
    if (!seen) parts.push_back(part);
  }
  std::string text;
  for (const auto& p : parts) text += (text.empty() ? "" : " / ") + p;
  return text;
}

const CheckResult* find(const std::vector<CheckResult>& checks, CheckId id, int set) {
  for (const auto& c : checks)
    if (c.row->id == id && c.set == set) return &c;
  return nullptr;
}

// The check's title and its limits as applied (the table's defaults when
// nothing was evaluated).
void nameCell(std::ostream& out, const CheckRow& row, const CheckResult* any) {
  out << "<td class=\"name\"><span class=\"title\">" << esc(row.title) << "</span>";
  for (std::size_t k = 0; k < row.limitCount; ++k) {
    const double limit = any ? any->measurements[k].limit : row.limits[k].defaultLimit;
    out << "<span class=\"limit\">" << limitText(row.limits[k], limit) << "</span>";
  }
  out << "</td>";
}

void verdictCell(std::ostream& out, const CheckResult* c, Notes& notes) {
  if (!c) {
    out << "<td></td>";
    return;
  }
  out << "<td class=\"verdict-cell\" data-check=\"" << c->row->name << "\" data-set=\"" << std::to_string(c->set)
      << "\">" << verdictBadge(c->verdict) << "<span class=\"value\">" << measured(*c, notes) << "</span></td>";
}

void writeProbeChecks(std::ostream& out, const RunRecord& record, const Assessment& a, Notes& notes) {
  out << "<h3>Each probe</h3>\n<table class=\"checks\">\n<tr><th class=\"name\">Check and limit</th>";
  for (const auto& s : record.sets) out << "<th>Probe " << std::to_string(s.set) << "</th>";
  out << "</tr>\n";
  for (const CheckRow& row : kCheckTable) {
    if (row.scope != Scope::Set) continue;
    const CheckResult* any = record.sets.empty() ? nullptr : find(a.checks, row.id, record.sets.front().set);
    out << "<tr>";
    nameCell(out, row, any);
    for (const auto& s : record.sets) verdictCell(out, find(a.checks, row.id, s.set), notes);
    out << "</tr>\n";
  }
  out << "</table>\n";
}

void writeTestChecks(std::ostream& out, const Assessment& a, Notes& notes) {
  out << "<h3>The whole test</h3>\n<table class=\"checks\">\n<tr><th class=\"name\">Check and limit</th>"
         "<th>Verdict and value</th></tr>\n";
  for (const CheckRow& row : kCheckTable) {
    if (row.scope != Scope::Test) continue;
    const CheckResult* c = find(a.checks, row.id, 0);
    out << "<tr>";
    nameCell(out, row, c);
    verdictCell(out, c, notes);
    out << "</tr>\n";
  }
  out << "</table>\n";
}

}  // namespace

Verdict worstVerdict(const std::vector<CheckResult>& checks, int set) {
  Verdict worst = Verdict::NotApplicable;
  auto rank = [](Verdict v) { return v == Verdict::Fail ? 3 : v == Verdict::Warn ? 2 : v == Verdict::Pass ? 1 : 0; };
  for (const auto& c : checks)
    if (c.set == set && rank(c.verdict) > rank(worst)) worst = c.verdict;
  return worst;
}

void writeChecklistPage(std::ostream& out, const RunRecord& record, const Assessment& assessment) {
  out << "<section class=\"page\" data-page=\"checklist\">\n<div data-section=\"checklist\">\n"
         "<h2>Validity checklist</h2>\n<p class=\"lead\">Overall: "
      << verdictBadge(assessment.worst()) << ". Each check reads " << verdictBadge(Verdict::Pass) << ", "
      << verdictBadge(Verdict::Warn) << ", " << verdictBadge(Verdict::Fail) << " or "
      << verdictBadge(Verdict::NotApplicable)
      << ", with the measured value beneath. The limits are the program's defaults unless a criteria file changed "
         "them; they are not quotations of any standard.</p>\n";
  Notes notes;
  writeProbeChecks(out, record, assessment, notes);
  writeTestChecks(out, assessment, notes);
  notes.write(out);
  out << "</div>\n</section>\n";
}

}  // namespace vk::exporter::html

#include "export/html/Text.h"

#include <cmath>
#include <ostream>

#include "plot/Numbers.h"
#include "plot/Xml.h"

namespace vk::exporter::html {

std::string esc(std::string_view text) { return plot::escaped(text); }

std::string number(double v, int digits) {
  if (!std::isfinite(v)) return notApplicable("not a finite number");
  return plot::significant(v, digits);
}

std::string number(const assess::Maybe<double>& v, int digits) {
  return v ? number(*v, digits) : notApplicable(v.reason);
}

std::string interval(const assess::Interval& i, int digits, double scale) {
  return number(i.low * scale, digits) + " to " + number(i.high * scale, digits);
}

std::string withInterval(double value, const assess::Interval& ci, int digits, double scale) {
  return number(value * scale, digits) + "<span class=\"ci\">" + interval(ci, digits, scale) + "</span>";
}

std::string notApplicable(std::string_view reason) {
  return "<span class=\"na\" title=\"" + esc(reason) + "\">not applicable<span class=\"why\">" + esc(reason) +
         "</span></span>";
}

std::string Notes::mark(const std::string& note) {
  std::size_t i = 0;
  while (i < notes_.size() && notes_[i] != note) ++i;
  if (i == notes_.size()) notes_.push_back(note);
  return "<sup>" + std::to_string(i + 1) + "</sup>";
}

std::string Notes::notApplicable(std::string_view reason) {
  return "<span class=\"na\" title=\"" + esc(reason) + "\">n/a</span>" +
         mark("Not applicable: " + std::string(reason) + ".");
}

void Notes::write(std::ostream& out) const {
  if (notes_.empty()) return;
  out << "<ol class=\"notes\">\n";
  for (const auto& n : notes_) out << "<li>" << esc(n) << "</li>\n";
  out << "</ol>\n";
}

std::string unitText(std::string_view unit) {
  std::string text(unit);
  for (auto [ascii, typeset] : {std::pair{"ft3", "ft³"}, {"m3", "m³"}, {"O2", "O₂"}})
    for (auto at = text.find(ascii); at != std::string::npos; at = text.find(ascii, at + 1))
      text.replace(at, std::string_view(ascii).size(), typeset);
  return esc(text);
}

const char* verdictClass(assess::Verdict v) {
  switch (v) {
    case assess::Verdict::Pass: return "verdict-pass";
    case assess::Verdict::Warn: return "verdict-warn";
    case assess::Verdict::Fail: return "verdict-fail";
    case assess::Verdict::NotApplicable: return "verdict-na";
  }
  return "verdict-na";
}

std::string verdictBadge(assess::Verdict v) {
  return std::string("<span class=\"verdict ") + verdictClass(v) + "\">" + assess::verdictName(v) + "</span>";
}

}  // namespace vk::exporter::html

#pragma once
// Text of the HTML report: escaped words, and numbers as its tables show
// them (significant digits, locale-free, through the plots' number text),
// with "not applicable" and its reason where a figure cannot be given.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "assess/CheckTable.h"
#include "assess/Maybe.h"
#include "assess/Readings.h"

namespace vk::exporter::html {

// Digits of the results a client reads, and of the fit's parameters, which
// are compared with the optimum in their sixth digit.
inline constexpr int kResultDigits = 4;
inline constexpr int kParameterDigits = 6;

// Safe as element content and as a double-quoted attribute.
std::string esc(std::string_view text);

// `digits` significant digits; a value that is not finite is not applicable.
std::string number(double v, int digits);
std::string number(const assess::Maybe<double>& v, int digits);

// "6.21 to 6.43", each end times `scale`.
std::string interval(const assess::Interval& i, int digits, double scale = 1);

// A figure with its 95 % interval on a second line.
std::string withInterval(double value, const assess::Interval& ci, int digits, double scale = 1);

// "not applicable", with the reason shown on hover and beneath it in print.
std::string notApplicable(std::string_view reason);

// Notes under a table, numbered in order of first use, so that a reason
// shared by many cells is written once and the cells stay one line high.
class Notes {
 public:
  // "<sup>k</sup>", the number of the note.
  std::string mark(const std::string& note);
  // "n/a" with the mark of "Not applicable: REASON".
  std::string notApplicable(std::string_view reason);
  // The notes as a numbered list; nothing when there are none.
  void write(std::ostream& out) const;

 private:
  std::vector<std::string> notes_;
};

// The units of assess/Units.h as a reader writes them: "ft3" -> "ft³".
std::string unitText(std::string_view unit);

// "verdict-pass", "verdict-warn", "verdict-fail", "verdict-na".
const char* verdictClass(assess::Verdict v);
// The verdict's word on its colour, so that it reads in black and white too.
std::string verdictBadge(assess::Verdict v);

}  // namespace vk::exporter::html

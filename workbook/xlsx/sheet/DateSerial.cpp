#include "workbook/xlsx/sheet/DateSerial.h"

#include <charconv>

namespace vk::xlsx {

namespace {

// Days from 1970-01-01 of a date of the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool readInt(std::string_view& text, std::size_t digits, int& value) {
  if (text.size() < digits) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + digits, value);
  if (ec != std::errc() || end != text.data() + digits) return false;
  text.remove_prefix(digits);
  return true;
}

bool expect(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

std::optional<double> serialFromIsoDate(std::string_view text, bool uses1904Dates) {
  double days = 0;
  bool hasDate = text.size() >= 10 && text[4] == '-';
  if (hasDate) {
    int y, m, d;
    if (!readInt(text, 4, y) || !expect(text, '-') || !readInt(text, 2, m) || !expect(text, '-') ||
        !readInt(text, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
      return std::nullopt;
    // Serial 1 is 1900-01-01 and the 1900 system counts a 29 February 1900
    // that never was; from March 1900 on, serials count from 1899-12-30.
    long long day = daysFromCivil(y, unsigned(m), unsigned(d));
    long long epoch = uses1904Dates ? daysFromCivil(1904, 1, 1) : daysFromCivil(1899, 12, 30);
    days = double(day - epoch);
    if (!uses1904Dates && day < daysFromCivil(1900, 3, 1)) days -= 1;
    if (!text.empty() && !expect(text, 'T')) return std::nullopt;
  }
  if (!text.empty()) {
    int h, mi;
    if (!readInt(text, 2, h) || !expect(text, ':') || !readInt(text, 2, mi)) return std::nullopt;
    double seconds = 0;
    if (expect(text, ':')) {
      std::size_t end = 0;
      while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.')) ++end;
      auto [p, ec] = std::from_chars(text.data(), text.data() + end, seconds);
      if (ec != std::errc() || p != text.data() + end) return std::nullopt;
      text.remove_prefix(end);
    }
    if (text == "Z") text = {};
    if (!text.empty() || h > 24 || mi > 59 || seconds >= 61) return std::nullopt;
    days += (h * 3600.0 + mi * 60.0 + seconds) / 86400.0;
  } else if (!hasDate) {
    return std::nullopt;
  }
  return days;
}

}  // namespace vk::xlsx

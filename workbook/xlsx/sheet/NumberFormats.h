#pragma once
// Which cell formats show a number as a date or a time: the styles part's
// cell formats (cellXfs) and their number formats, built in or custom. A
// date is stored as a plain number; only its format tells it apart.

#include <cstdint>
#include <string_view>
#include <vector>

#include "workbook/xlsx/package/Limits.h"

namespace vk::xlsx {

// Whether a number format code shows dates or times: it has a year, month,
// day, hour, minute or second token ("yyyy-mm-dd", "h:mm AM/PM", "[h]:mm")
// outside quoted text, escapes and bracketed colours, conditions or locales.
bool isDateTimeFormatCode(std::string_view code);

class NumberFormats {
 public:
  NumberFormats() = default;  // a workbook without a styles part: nothing is a date
  NumberFormats(std::string_view stylesXml, std::string_view where, const Limits& limits);

  // Whether the cell format of this index (a cell's s attribute) is a date or time.
  bool isDateTime(std::uint32_t cellFormat) const { return cellFormat < dateTime_.size() && dateTime_[cellFormat]; }

 private:
  std::vector<bool> dateTime_;  // by cell format index
};

}  // namespace vk::xlsx

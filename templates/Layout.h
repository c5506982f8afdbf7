#pragma once
// Writes a workbook in the template's layout with libxlsxwriter: the three
// sheets with their headings, units, number formats, formulas and charts, and
// the test of the given book on sheet 1.

#include <string>

#include "templates/TestBooks.h"

namespace vk::books {

// Writes `b` into `file`; throws std::runtime_error when it cannot. Two runs
// give byte-identical files (fixed document properties and dates).
void writeWorkbook(const TestBook& b, const std::string& file);

}  // namespace vk::books

// Makes a test workbook of any size from the template, for timing the whole
// analysis: make-test-workbook TEMPLATE OUTPUT SETS READINGS [AIRFLOW]
// (scfm, 150 unless given; a campaign's workbooks differ in it).

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "module1/Fault.h"
#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

int main(int argc, char** argv) {
  using namespace vk;
  if (argc != 5 && argc != 6) {
    std::fprintf(stderr, "usage: make-test-workbook TEMPLATE OUTPUT SETS READINGS [AIRFLOW]\n");
    return 2;
  }
  const int sets = std::stoi(argv[3]), readings = std::stoi(argv[4]);
  const double airFlow = argc == 6 ? std::stod(argv[5]) : 150;
  try {
    std::filesystem::copy_file(argv[1], argv[2], std::filesystem::copy_options::overwrite_existing);
    XlsxEngine engine;
    auto book = engine.bind(std::filesystem::absolute(argv[2]).string());
    namespace c = cells;
    const int col = c::kConditionColumn;
    book->write(c::kTestSheet, c::kNumPointsRow, col, Integer::checked(readings));
    book->write(c::kTestSheet, c::kNumSetsRow, col, Integer::checked(sets));
    book->write(c::kTestSheet, c::kWaterTempRow, col, Variant::dbl(16.5));
    book->write(c::kTestSheet, c::kBaroPressRow, col, Variant::dbl(29.7));
    book->write(c::kTestSheet, c::kTankVolumeRow, col, Variant::dbl(4000));
    book->write(c::kTestSheet, c::kAirFlowRow, col, Variant::dbl(airFlow));
    // A 40-minute test, whatever the number of readings; each probe a little
    // different, with some noise.
    for (int p = 1; p <= readings; ++p) {
      const double t = 40.0 * (p - 1) / (readings - 1);
      book->write(c::kTestSheet, c::readingRow(p), c::kTimeColumn, Variant::dbl(std::round(t * 1000) / 1000));
      for (int s = 1; s <= sets; ++s) {
        const double kla = 0.10 + 0.015 * s, cinf = 9.0 + 0.1 * s;
        const double conc = cinf - (cinf - 0.4) * std::exp(-kla * t) + 0.03 * std::sin(p * 2.3 + s);
        book->write(c::kTestSheet, c::readingRow(p), c::concColumn(s), Variant::dbl(std::round(conc * 1000) / 1000));
      }
    }
    book->commit();
  } catch (const Fault& f) {
    std::fprintf(stderr, "%s\n", f.what());
    return 1;
  }
  return 0;
}

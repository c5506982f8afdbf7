#include "templates/TestBooks.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "workbook/CellMap.h"

namespace vk::books {

const std::vector<double> kWorkedExample = {0.53, 2.14, 3.49, 4.41, 5.25, 5.87, 6.3, 6.75, 6.97, 7.17, 7.4, 7.52, 7.61};

namespace {

// A re-aeration curve C(t) = cinf - (cinf - c0) exp(-kla t), in mg/L and
// minutes, measured with a uniform noise of +-noise mg/L.
struct Curve {
  double cinf;
  double c0;
  double kla;
  double noise;
};

// A small deterministic generator (SplitMix64), so that every build makes the
// same readings.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed) {}
  // Uniform in [-1, 1).
  double next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return double(z >> 11) * 0x1.0p-52 - 1.0;
  }

 private:
  std::uint64_t state_;
};

double hundredths(double x) { return std::round(x * 100.0) / 100.0; }

std::vector<double> evenTimes(int count, double step) {
  std::vector<double> t;
  // i / k rather than i * step, so that 0.3 is the double nearest to 0.3.
  const double perMinute = std::round(1.0 / step);
  for (int i = 0; i < count; ++i) t.push_back(i / perMinute);
  return t;
}

std::vector<double> readings(const Curve& c, const std::vector<double>& times, std::uint64_t seed) {
  Noise noise(seed);
  std::vector<double> r;
  for (double t : times)
    r.push_back(hundredths(c.cinf - (c.cinf - c.c0) * std::exp(-c.kla * t) + c.noise * noise.next()));
  return r;
}

std::vector<std::vector<double>> probes(const std::vector<Curve>& curves, const std::vector<double>& times,
                                        std::uint64_t seed) {
  std::vector<std::vector<double>> p;
  for (std::size_t s = 0; s < curves.size(); ++s) p.push_back(readings(curves[s], times, seed + s));
  return p;
}

std::vector<Condition> conditions(double numPoints, double numSets, double waterTemp, double baroPress,
                                  double tankVolume, Condition airFlow) {
  return {numPoints, numSets, waterTemp, baroPress, tankVolume, airFlow};
}

int count(const std::vector<double>& v) { return int(v.size()); }

std::vector<TestBook> makeBooks() {
  std::vector<TestBook> books;
  const std::vector<double> minutes13 = evenTimes(13, 1.0);

  {
    TestBook b;
    b.path = "templates/template.xlsx";
    b.purpose = "the empty template: headings, units and charts, no test";
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = "templates/sample.xlsx";
    b.purpose = "a sample test with three probes; probe 1 is the worked example";
    // A warm day at some altitude: the curves level off above saturation at
    // the surface, as in a tank of a few feet.
    b.conditions = conditions(13, 3, 30, 28.6, 5000, 200.0);
    b.times = minutes13;
    b.probes = {kWorkedExample,
                {0.34, 1.97, 3.3, 4.27, 5.1, 5.72, 6.19, 6.62, 6.88, 7.16, 7.32, 7.47, 7.61},
                {0.83, 2.5, 3.82, 4.85, 5.62, 6.16, 6.57, 6.94, 7.11, 7.36, 7.45, 7.55, 7.62}};
    books.push_back(b);
  }

  // A campaign: one fine-bubble diffuser grid, 14.5 ft under the surface,
  // tested at four air flows on four days, each test a workbook of its own.
  // KLa grows a little less than in proportion to the air flow, so SOTE
  // falls as the flow rises.
  {
    const std::vector<double> halfMinutes = evenTimes(161, 0.5);
    // Saturation falls as the water warms: C-infinity with it.
    struct Run {
      double scfm, waterTemp, baroPress, cinf;
    };
    const Run runs[] = {
        {100, 15.6, 29.71, 11.4}, {200, 16.0, 29.64, 11.31}, {300, 16.3, 29.58, 11.24}, {400, 16.8, 29.69, 11.12}};
    std::uint64_t seed = 2000;
    for (const Run& r : runs) {
      const double kla = 0.0634 * std::pow(r.scfm / 100, 0.84);
      TestBook b;
      b.path = "templates/campaign/diffuser-" + std::to_string(int(r.scfm)) + "scfm.xlsx";
      b.purpose = "one test of a campaign: the diffuser grid at " + std::to_string(int(r.scfm)) + " scfm";
      b.times = halfMinutes;
      b.probes = probes({{r.cinf, 0.4, 0.98 * kla, 0.03},
                         {r.cinf - 0.1, 0.6, 1.015 * kla, 0.03},
                         {r.cinf + 0.1, 0.3, 0.985 * kla, 0.03},
                         {r.cinf, 0.5, 1.02 * kla, 0.03}},
                        b.times, seed += 10);
      b.conditions = conditions(count(b.times), 4, r.waterTemp, r.baroPress, 12000, r.scfm);
      b.submergenceFt = 14.5;
      books.push_back(b);
    }
  }

  // End-to-end tests of the Open, Reading and Run commands.
  const std::string e2e = "tests/data/e2e/";
  TestBook oneSet;
  oneSet.path = e2e + "one-set.xlsx";
  oneSet.purpose = "one data set: the worked example";
  oneSet.conditions = conditions(13, 1, 15, 29.5, 1000, 50.0);
  oneSet.times = minutes13;
  oneSet.probes = {kWorkedExample};
  books.push_back(oneSet);
  {
    TestBook b;
    b.path = e2e + "two-sets.xlsx";
    b.purpose = "two data sets of ten readings";
    b.times = evenTimes(10, 1.0);
    b.probes = probes({{9.5, 0.4, 0.33, 0.04}, {9.3, 0.9, 0.29, 0.04}}, b.times, 200);
    b.conditions = conditions(count(b.times), 2, 22, 29.8, 1500, 60.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "three-sets.xlsx";
    b.purpose = "three data sets of fifteen readings";
    b.times = evenTimes(15, 1.0);
    b.probes = probes({{10.4, 0.6, 0.22, 0.05}, {10.2, 0.3, 0.25, 0.05}, {10.5, 1.1, 0.2, 0.05}}, b.times, 300);
    b.conditions = conditions(count(b.times), 3, 18, 30.1, 2500, 80.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "six-sets.xlsx";
    b.purpose = "six data sets of twenty readings, every half minute";
    b.times = evenTimes(20, 0.5);
    b.probes = probes({{11.9, 0.5, 0.31, 0.05},
                       {11.7, 0.8, 0.28, 0.05},
                       {12.0, 0.2, 0.35, 0.05},
                       {11.8, 1.2, 0.26, 0.05},
                       {11.6, 0.6, 0.33, 0.05},
                       {11.9, 0.4, 0.3, 0.05}},
                      b.times, 600);
    b.conditions = conditions(count(b.times), 6, 12, 29.2, 8000, 350.0);
    books.push_back(b);
  }
  const std::vector<double> halfMinutes40 = evenTimes(40, 0.5);
  const auto airFlowProbes =
      probes({{9.8, 0.3, 0.2, 0.04}, {9.6, 0.5, 0.18, 0.04}, {9.9, 0.2, 0.22, 0.04}}, halfMinutes40, 400);
  {
    TestBook b;
    b.path = e2e + "airflow-zero.xlsx";
    b.purpose = "air flow 0 written as the number 0 in C12";
    b.times = halfMinutes40;
    b.probes = airFlowProbes;
    b.conditions = conditions(40, 3, 20.5, 29.5, 1000, 0.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "airflow-empty.xlsx";
    b.purpose = "air flow 0 as an empty C12; otherwise the same as airflow-zero.xlsx";
    b.times = halfMinutes40;
    b.probes = airFlowProbes;
    b.conditions = conditions(40, 3, 20.5, 29.5, 1000, std::monostate{});
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "not-converging.xlsx";
    b.purpose = "data set 2 lies on a straight line and does not converge in 11 passes; set 1 converges";
    b.times = evenTimes(10, 1.0);
    b.probes = {readings({9.8, 0.5, 0.32, 0.04}, b.times, 700), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}};
    b.conditions = conditions(10, 2, 20, 29.92, 1000, 50.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "first-above-30-percent.xlsx";
    b.purpose = "the first reading is above 30 % of the last: every start threshold keeps every reading";
    b.times = minutes13;
    b.probes = {readings({10.5, 3.6, 0.25, 0.03}, b.times, 800)};
    b.conditions = conditions(13, 1, 16, 29.7, 1200, 40.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "four-kept.xlsx";
    b.purpose = "four readings, all kept at the default threshold of 1 %";
    b.times = {0, 2, 4, 6};
    b.probes = {{3.1, 6.72, 8.75, 9.94}};
    b.conditions = conditions(4, 1, 14, 29.4, 900, 30.0);
    books.push_back(b);
  }
  {
    TestBook b;
    b.path = e2e + "bench-6x300.xlsx";
    b.purpose = "six data sets of 300 readings every 0.1 minute, for the benchmark";
    b.times = evenTimes(300, 0.1);
    b.probes = probes({{10.5, 0.4, 0.15, 0.03},
                       {10.3, 0.6, 0.13, 0.03},
                       {10.6, 0.3, 0.17, 0.03},
                       {10.4, 0.8, 0.12, 0.03},
                       {10.2, 0.5, 0.16, 0.03},
                       {10.7, 0.2, 0.14, 0.03}},
                      b.times, 900);
    b.conditions = conditions(300, 6, 17, 29.9, 9000, 300.0);
    books.push_back(b);
  }

  // Workbooks the engine must refuse, each with a clear fault.
  {
    TestBook b = oneSet;
    b.path = e2e + "two-sheets.xlsx";
    b.purpose = "only two sheets (no results sheet)";
    b.sheets = 2;
    books.push_back(b);
  }
  {
    TestBook b = oneSet;
    b.path = e2e + "text-condition.xlsx";
    b.purpose = "the water temperature C9 holds the text \"warm\"";
    b.conditions[2] = std::string("warm");
    books.push_back(b);
  }
  {
    TestBook b = oneSet;
    b.path = e2e + "error-reading.xlsx";
    b.purpose = "reading 3 of probe 1 (H9) holds the error value #DIV/0! (the formula =1/0)";
    b.errorReading = std::pair{1, 3};
    books.push_back(b);
  }

  auto copyOf = [&](const std::string& path) {
    for (const TestBook& b : books)
      if (b.path == path) return b;
    throw std::logic_error("no workbook " + path);
  };

  // The sheets found by their defined names, wherever their tabs stand.
  const TestBook threeSets = copyOf(e2e + "three-sets.xlsx");
  {
    TestBook b = threeSets;
    b.path = e2e + "tabs-reordered.xlsx";
    b.purpose = "three-sets.xlsx with its tabs in the order Results, Test, Initial analysis";
    b.tabOrder = {3, 1, 2};
    books.push_back(b);
  }
  {
    TestBook b = threeSets;
    b.path = e2e + "tabs-reordered-unnamed.xlsx";
    b.purpose = "tabs-reordered.xlsx made before the defined names: refused, since Results is the first tab";
    b.tabOrder = {3, 1, 2};
    b.definedNames = false;
    books.push_back(b);
  }
  {
    TestBook b = threeSets;
    b.path = e2e + "unnamed.xlsx";
    b.purpose = "three-sets.xlsx made before the defined names: its sheets are taken in tab order";
    b.definedNames = false;
    books.push_back(b);
  }
  {
    TestBook b = threeSets;
    b.path = e2e + "hidden-sheets.xlsx";
    b.purpose = "three-sets.xlsx with the initial-analysis and results sheets hidden";
    b.hiddenSheets = {2, 3};
    books.push_back(b);
  }
  {
    TestBook b = oneSet;
    b.path = e2e + "broken-name.xlsx";
    b.purpose = "the defined name VK_Results refers to #REF! (its sheet was deleted and made again)";
    b.namesReferTo = {{"VK_Results", "=#REF!$A$13:$H$19"}};
    books.push_back(b);
  }
  {
    TestBook b = oneSet;
    b.path = e2e + "names-on-one-sheet.xlsx";
    b.purpose = "the defined names VK_Test and VK_Results are both on the sheet Test";
    b.namesReferTo = {{"VK_Results", "=Test!$A$13:$H$19"}};
    books.push_back(b);
  }

  // Input that cannot be a test, each refused naming its cell; otherwise as
  // one-set.xlsx (two-sets.xlsx for the count of data sets).
  auto refused = [&](const TestBook& base, const char* name, const char* purpose, std::vector<Entry> entries) {
    TestBook b = base;
    b.path = e2e + name;
    b.purpose = purpose;
    b.entries = std::move(entries);
    books.push_back(b);
  };
  const TestBook twoSets = copyOf(e2e + "two-sets.xlsx");
  namespace c = cells;
  const int col = c::kConditionColumn;
  refused(oneSet, "blank-condition.xlsx", "the barometric pressure C10 is blank", {{c::kBaroPressRow, col, {}}});
  refused(oneSet, "blank-reading.xlsx", "reading 5 of probe 1 (H11) is blank",
          {{c::readingRow(5), c::concColumn(1), {}}});
  refused(oneSet, "logical-count.xlsx", "the count of data sets C8 is the logical value TRUE",
          {{c::kNumSetsRow, col, true}});
  {
    // A logger's time stamps, one a minute from 9:00 on 1 January 2025.
    std::vector<Entry> stamps(oneSet.times.size(), Entry{0, c::kTimeColumn, DateTime{0}});
    for (std::size_t p = 0; p < stamps.size(); ++p) {
      stamps[p].row = c::readingRow(int(p) + 1);
      stamps[p].value = DateTime{45658.375 + oneSet.times[p] / 1440.0};
    }
    refused(oneSet, "date-times.xlsx", "the times G7:G19 are date-and-time stamps of a logger", stamps);
  }
  refused(twoSets, "fractional-count.xlsx", "the count of data sets C8 is 2.5", {{c::kNumSetsRow, col, 2.5}});
  refused(oneSet, "too-many-readings.xlsx", "the count of readings C7 is 32767, more than sheet 1 has rows for",
          {{c::kNumPointsRow, col, 32767.0}});
  refused(oneSet, "hot-water.xlsx", "the water temperature C9 is 60 (above 45 degrees C)",
          {{c::kWaterTempRow, col, 60.0}});
  refused(oneSet, "pressure-in-mmhg.xlsx", "the barometric pressure C10 is 760 (mmHg, not inHg)",
          {{c::kBaroPressRow, col, 760.0}});
  refused(oneSet, "no-volume.xlsx", "the tank volume C11 is 0", {{c::kTankVolumeRow, col, 0.0}});
  refused(oneSet, "negative-airflow.xlsx", "the air flow C12 is -50", {{c::kAirFlowRow, col, -50.0}});
  refused(oneSet, "reading-in-percent.xlsx", "reading 6 of probe 1 (H12) is 150 (percent of saturation, not mg/L)",
          {{c::readingRow(6), c::concColumn(1), 150.0}});
  refused(oneSet, "repeated-time.xlsx", "the times of readings 3 and 4 (G9, G10) are both 2 minutes",
          {{c::readingRow(4), c::kTimeColumn, 2.0}});
  return books;
}

}  // namespace

const std::vector<TestBook>& allBooks() {
  static const std::vector<TestBook> books = makeBooks();
  return books;
}

const TestBook& book(const std::string& path) {
  for (const auto& b : allBooks())
    if (b.path == path) return b;
  throw std::out_of_range("no workbook " + path);
}

}  // namespace vk::books

// The embedded engine on the largest workbook the analysis makes: six data
// sets of 32,723 readings. One pass binds the file (reading it from disk),
// reads the readings and the kinds of their cells, writes the full point tables (6 x 5 x 32,723 cells, the
// reading number as an Integer, then four Singles) and saves. The first pass
// starts from a workbook without results, the second from the one the first
// saved, which is full of them and is cleared first, as the Open command does.
//
//   bench_xlsx [template.xlsx] [--once]
//
// Prints the time of every step and the peak resident memory so far; run it
// under /usr/bin/time -v for the process's own figures. Without a template,
// a plain three-sheet workbook is made.

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace {

namespace c = vk::cells;
constexpr int kSets = 6;
constexpr int kReadings = 32723;

using Clock = std::chrono::steady_clock;

long peakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

struct Step {
  const char* name;
  Clock::time_point start = Clock::now();
  ~Step() {
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("  %-34s %8.1f ms   peak %4ld MB\n", name, ms, peakMegabytes());
  }
};

// A workbook of three empty sheets, written as a zip by hand: the bench needs
// no other library to start from.
void writePlainWorkbook(const std::string& path) {
  std::string command = "cd '" + std::filesystem::path(path).parent_path().string() +
                        "' && mkdir -p plain/_rels plain/xl/_rels plain/xl/worksheets";
  if (std::system(command.c_str()) != 0) std::exit(1);
  auto put = [&](const std::string& name, const std::string& text) {
    std::ofstream(std::filesystem::path(path).parent_path() / "plain" / name) << text;
  };
  const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  put("[Content_Types].xml",
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
      "ContentType=\"application/xml\"/><Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/></Types>");
  put("_rels/.rels",
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
      "Id=\"rId1\" Type=\"" +
          rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  std::string sheets, rels;
  for (int i = 1; i <= 3; ++i) {
    std::string n = std::to_string(i);
    sheets += "<sheet name=\"Sheet" + n + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels +=
        "<Relationship Id=\"rId" + n + "\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    put("xl/worksheets/sheet" + n + ".xml", "<worksheet xmlns=\"" + main + "\"><sheetData/></worksheet>");
  }
  put("xl/workbook.xml",
      "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel + "\"><sheets>" + sheets + "</sheets></workbook>");
  put("xl/_rels/workbook.xml.rels",
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + rels +
          "</Relationships>");
  command = "cd '" + (std::filesystem::path(path).parent_path() / "plain").string() + "' && zip -qrX '" + path +
            "' '[Content_Types].xml' _rels xl";
  if (std::system(command.c_str()) != 0) std::exit(1);
}

// Sheet 1 with the test: conditions and six sets of readings.
void fillReadings(const std::string& path) {
  vk::XlsxEngine engine;
  auto book = engine.bind(path);
  book->write(c::kTestSheet, c::kNumPointsRow, c::kConditionColumn, vk::Integer(kReadings));
  book->write(c::kTestSheet, c::kNumSetsRow, c::kConditionColumn, vk::Integer(kSets));
  for (int p = 1; p <= kReadings; ++p) {
    const double t = 0.01 * (p - 1);
    book->write(c::kTestSheet, c::readingRow(p), c::kTimeColumn, vk::Variant::single(float(t)));
    for (int s = 1; s <= kSets; ++s)
      book->write(c::kTestSheet, c::readingRow(p), c::concColumn(s),
                  vk::Variant::single(float(9.2 - 8.5 * std::exp(-0.02 * t * s) + 0.01 * std::sin(p * 1.7 + s))));
  }
  book->commit();
}

void pass(const std::string& path, const char* title, bool clearFirst) {
  std::printf("%s\n", title);
  Step total{"total"};
  vk::XlsxEngine engine;
  std::shared_ptr<vk::Workbook> book;
  {
    Step s{"bind (read the file)"};
    book = engine.bind(path);
  }
  double sum = 0;
  {
    Step s{"read 6 x 32,723 readings and times"};
    for (int p = 1; p <= kReadings; ++p) {
      sum += book->readNumber(c::kTestSheet, c::readingRow(p), c::kTimeColumn);
      for (int set = 1; set <= kSets; ++set)
        sum += book->readNumber(c::kTestSheet, c::readingRow(p), c::concColumn(set));
    }
  }
  {
    // What the Reading's input checks add: the kind of every cell read.
    Step s{"kinds of the same cells"};
    for (int p = 1; p <= kReadings; ++p)
      for (int column = c::kTimeColumn; column <= c::concColumn(kSets); ++column)
        sum += double(book->cellKind(c::kTestSheet, c::readingRow(p), column) == vk::CellKind::Number);
  }
  if (clearFirst) {
    {
      Step s{"index sheet 3 (one read)"};
      sum += book->readNumber(c::kResultsSheet, c::pointRow(1), c::resultColumn(1));
    }
    Step s{"clear j45:aw32767"};
    book->clearContents(c::kResultsSheet, c::pointTableRange(c::kLastRow));
  }
  {
    Step s{"write 6 x 5 x 32,723 cells"};
    for (int set = 1; set <= kSets; ++set)
      for (int k = 1; k <= kReadings; ++k) {
        const int row = c::pointRow(k), column = c::resultColumn(set);
        book->write(c::kResultsSheet, row, column, vk::Integer(std::int16_t(k)));
        for (int i = 1; i <= 4; ++i)
          book->write(c::kResultsSheet, row, column + i, vk::Variant::single(float(k) * 0.01f + float(i) / 3.0f));
      }
  }
  {
    Step s{"runMacro Redraw, commit (save)"};
    book->runMacro("Redraw");
    book->commit();
  }
  std::printf("  (checksum of the readings %.3f; file %.1f MB)\n", sum,
              double(std::filesystem::file_size(path)) / (1 << 20));
}

}  // namespace

int main(int argc, char** argv) {
  std::string templatePath;
  bool once = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--once") == 0)
      once = true;
    else
      templatePath = argv[i];
  }
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("bench-xlsx-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = (dir / "bench.xlsx").string();
  if (templatePath.empty())
    writePlainWorkbook(path);
  else
    fs::copy_file(templatePath, path);
  {
    auto start = Clock::now();
    fillReadings(path);
    std::printf("set-up: %d sets of %d readings written to sheet 1 in %.0f ms (not part of the figures)\n", kSets,
                kReadings, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  pass(path, "pass 1: a workbook without results", false);
  if (!once) pass(path, "pass 2: the same workbook, full of the results of pass 1", true);
  fs::remove_all(dir);
  return 0;
}

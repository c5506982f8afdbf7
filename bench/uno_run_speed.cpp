// The Reading and the Run commands on 6 data sets x 300 readings under
// LibreOffice, with reads and writes in blocks (as the engine runs: writes
// buffered per sheet, reads with getDataArray) and with one call per cell,
// against a private headless LibreOffice. Prints the times, and the parts of
// the Reading's time that reading the table's cells and its input checks
// take; the first Open makes the connection, so the times are of the
// commands alone. The Reading is meant to take less than 0.3 s.
//
//   uno_run_speed WORKBOOK.xlsx [repeats]

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "apps/batch/ConsoleFeedback.h"
#include "commands/InputChecks.h"
#include "commands/OpenCommand.h"
#include "commands/ReadingCommand.h"
#include "commands/RunCommand.h"
#include "tests/uno/TestOffice.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/ReadCell.h"
#include "workbook/uno/LibreOfficeEngine.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

struct Times {
  double reading = 0;
  double cells = 0;   // the share of the Reading that reads the table's cells
  double checks = 0;  // the share of the Reading that checks the readings' cells
  double run = 0;
};

// Every cell of the table read as the Reading reads it, in a command of its own.
void readTable(vk::Module1& m) {
  namespace c = vk::cells;
  vk::Workbook& book = vk::dataBook(m);
  for (int p = 1; p <= m.NumPoints; ++p)
    for (int s = 1; s <= m.NumSets; ++s) {
      vk::readSingle(book, c::kTestSheet, c::readingRow(p), c::concColumn(s));
      vk::readSingle(book, c::kTestSheet, c::readingRow(p), c::kTimeColumn);
    }
  book.commit();
}

Times analyse(const std::string& source, const std::string& copy, bool buffered) {
  fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
  vk::LibreOfficeOptions options = vk::test::TestOffice::get().engineOptions();
  options.bufferWrites = buffered;
  auto engine = std::make_shared<vk::LibreOfficeEngine>(options);
  std::ostringstream messages;
  vk::ConsoleFeedback screen(messages);
  vk::Module1 m;
  m.Engine = engine;
  vk::OpenWorkbook(m, screen, fs::path(copy).parent_path().string(), fs::path(copy).filename().string());
  Times t;
  auto start = Clock::now();
  vk::ReadDataSets(m, screen);
  t.reading = seconds(start);
  start = Clock::now();
  readTable(m);
  t.cells = seconds(start);
  start = Clock::now();
  vk::CheckReadings(m, vk::dataBook(m));
  t.checks = seconds(start);
  vk::dataBook(m).commit();
  start = Clock::now();
  vk::RunAnalysis(m, screen);
  t.run = seconds(start);
  m = vk::Module1();
  engine->closeDocumentsLoadedHere();
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: uno_run_speed WORKBOOK.xlsx [repeats]\n";
    return 2;
  }
  const std::string source = fs::absolute(argv[1]).string();
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
  try {
    const std::string folder = vk::test::TestOffice::get().folder();
    for (int r = 1; r <= repeats; ++r)
      for (bool buffered : {true, false}) {
        Times t = analyse(source, folder + "/speed.xlsx", buffered);
        std::printf(
            "%-9s Reading %6.2f s (the table's cells %5.2f s, the checks of the readings %5.2f s)   Run %6.2f s\n",
            buffered ? "in blocks" : "per cell", t.reading, t.cells, t.checks, t.run);
      }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    vk::test::TestOffice::stop();
    return 1;
  }
  vk::test::TestOffice::stop();
  return 0;
}

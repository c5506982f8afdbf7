#include "tests/support/ProgramRecord.h"

#include <memory>

#include "commands/RunRecordOf.h"
#include "tests/support/TestBook.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

namespace {

// Nobody watches: tests and benchmarks only want the summaries.
class Unwatched : public Feedback {
 public:
  void beep() override {}
  void setCaption(Control, const std::string&) override {}
  void setVisible(Control, bool) override {}
  void setEnabled(Control, bool) override {}
  void setProgressMinimum(float) override {}
  void setProgressMaximum(float) override {}
  void setProgressValue(float) override {}
  void message(const std::string&) override {}
  void warning(const std::string&) override {}
};

}  // namespace

ProgramRun runCommands(const ProgramTest& test) {
  Module1 m;
  auto engine = std::make_shared<MemoryEngine>();
  m.Engine = engine;
  m.WorkbookPath = "/memory/assessed.xlsx";
  m.WorkbookName = "assessed.xlsx";
  const assess::Conditions& c = test.conditions;
  const std::shared_ptr<MemoryWorkbook> book = engine->book(m.WorkbookPath);
  writeTestSheet(*book, {c.waterTempC, c.baroPressInHg, c.tankVolumeFt3, c.airFlowScfm, test.times, test.sets});

  Unwatched screen;
  ProgramRun done;
  done.reading = ReadDataSets(m, screen);
  for (int set = 1; set <= int(test.sets.size()); ++set)
    book->write(cells::kAnalysisSheet, cells::kThresholdRow, cells::analysisColumn(set),
                Variant::single(test.startPercent));
  done.run = RunAnalysis(m, screen);
  return done;
}

assess::RunRecord runProgram(const ProgramTest& test) {
  const ProgramRun done = runCommands(test);
  return runRecordOf(done.run, done.reading);
}

}  // namespace vk::test

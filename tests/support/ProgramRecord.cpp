#include "tests/support/ProgramRecord.h"

#include <memory>

#include "commands/RunRecordOf.h"
#include "tests/support/TestBook.h"
#include "workbook/CellMap.h"
#include "workbook/memory/MemoryWorkbook.h"

namespace vk::test {

ProgramRun runCommands(const ProgramTest& test) {
  Module1 m;
  auto engine = std::make_shared<MemoryEngine>();
  m.Engine = engine;
  m.WorkbookPath = "/memory/assessed.xlsx";
  m.WorkbookName = "assessed.xlsx";
  const assess::Conditions& c = test.conditions;
  const std::shared_ptr<MemoryWorkbook> book = engine->book(m.WorkbookPath);
  writeTestSheet(*book, {c.waterTempC, c.baroPressInHg, c.tankVolumeFt3, c.airFlowScfm, test.times, test.sets});

  NoScreen screen;  // nobody watches: only the summaries are wanted
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

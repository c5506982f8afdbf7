#include "tests/workbook/xlsx/EditedCopy.h"

#include <filesystem>

#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk::xlsxtest {

std::string sourcePath(const std::string& relative) { return std::string(VK_SOURCE_DIR) + "/" + relative; }

EditedCopy editLikeTheCommands(const TempDir& dir, const std::string& source, const std::string& name) {
  namespace c = cells;
  EditedCopy copy;
  copy.path = dir.file(name);
  copy.original = readFile(source);
  writeFile(copy.path, copy.original);

  XlsxEngine engine;
  auto book = engine.bind(copy.path);
  auto write = [&](int sheet, int row, int column, const Variant& value) {
    book->write(sheet, row, column, value);
    copy.written[{sheet, row, column}] = value;
  };
  // Open.
  book->clearContents(c::kAnalysisSheet, c::analysisTableRange());
  book->clearContents(c::kResultsSheet, c::pointTableRange(c::kLastRow));
  book->clearContents(c::kResultsSheet, c::historyRange(c::kHistoryLastRow));
  for (int set = 1; set <= 6; ++set) book->clearContents(c::kResultsSheet, c::resultBlockRange(set));
  book->clearContents(c::kResultsSheet, c::summaryRange());
  book->clearContents(c::kResultsSheet, c::averageRange());
  for (int set = 1; set <= 6; ++set) book->clearContents(c::kResultsSheet, c::keptCountCell(set));
  for (int set = 1; set <= 6; ++set) write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set), Integer(0));
  book->show(c::kTestSheet);
  book->select(c::kTestSheet, c::selectionCell());
  book->commit();
  // Reading: the initial analysis of two sets.
  for (int set = 1; set <= 2; ++set) {
    for (int level = 1; level <= c::kLevels; ++level) {
      write(2, c::analysisRow(level), c::analysisColumn(set), Variant::single(float((level - 1) * 2)));
      for (int k = 1; k <= 3; ++k)
        write(2, c::analysisRow(level), c::analysisColumn(set) + k,
              Variant::single(float(level) / (3.0f + float(k + set))));
    }
    write(2, c::kThresholdRow, c::analysisColumn(set), Integer(1));
  }
  book->show(c::kAnalysisSheet);
  book->select(c::kAnalysisSheet, c::selectionCell());
  book->commit();
  // Run: history, results, point tables, summary.
  for (int set = 1; set <= 2; ++set) {
    for (int pass = 1; pass <= 4; ++pass) {
      write(3, c::historyRow(pass), c::resultColumn(set), Integer::checked(pass));
      write(3, c::historyRow(pass), c::resultColumn(set) + 1, Variant::single(9.1f + 0.01f * float(pass)));
      write(3, c::historyRow(pass), c::resultColumn(set) + 4,
            pass == 1 ? Variant::single(0.5f) : Variant::dbl(0.25 / pass));
    }
    write(3, c::kKeptCountRow, c::testColumn(set), Integer(8));
    for (int k = 1; k <= 8; ++k) {
      write(3, c::pointRow(k), c::resultColumn(set), Integer::checked(k));
      for (int col = 1; col <= 4; ++col)
        write(3, c::pointRow(k), c::resultColumn(set) + col, Variant::single(float(k) * 1.1f + float(col) / 7.0f));
    }
    write(3, c::summaryRow(set), c::kSetNumberColumn, Integer::checked(set));
    write(3, c::summaryRow(set), c::kSOTEColumn, Variant::dbl(12.345678901234567 + set));
    write(3, c::summaryRow(set), c::kStdPressColumn, Variant::single(29.92f));
  }
  book->show(c::kResultsSheet);
  book->runMacro("Redraw");
  book->commit();
  return copy;
}

bool mayChange(const std::string& name) {
  return name.find("worksheets/") != std::string::npos || name.find("workbook.xml") != std::string::npos ||
         name == "[Content_Types].xml" || name.find("calcChain") != std::string::npos;
}

}  // namespace vk::xlsxtest

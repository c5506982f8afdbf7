#include "commands/ReadingCommand.h"

#include "commands/CommitAfter.h"
#include "commands/InputChecks.h"
#include "intake/Conditions.h"
#include "intake/Trimming.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/ReadCell.h"

namespace vk {

namespace c = cells;

namespace {

void readReadings(Module1& m, Feedback& screen) {
  Workbook& book = dataBook(m);
  for (int p = 1; p <= m.NumPoints; ++p) {
    screen.setProgressValue(float(p));
    const int row = c::readingRow(p);  // within the sheet: CheckConditions limits the count
    for (int s = 1; s <= m.NumSets; ++s) {
      m.Conc(s, p) = readSingle(book, c::kTestSheet, row, c::concColumn(s));
      m.ConcRaw(s, p) = m.Conc(s, p);
      m.Times(s, p) = readSingle(book, c::kTestSheet, row, c::kTimeColumn);
      m.TimesRaw(s, p) = m.Times(s, p);
    }
  }
}

// The initial analysis: every set trimmed and estimated at the start
// thresholds 0, 2, ... 30 percent, one row of sheet 2 per threshold.
ReadingSummary initialAnalysis(Module1& m, Feedback& screen) {
  ReadingSummary summary;
  summary.initialAnalysis.resize(std::size_t(int(m.NumSets)));
  TrimWork work;
  for (int level = 1; level <= c::kLevels; ++level) {
    screen.setProgressValue(float(level));
    RestoreData(m);
    m.StartPercent = float((level - 1) * 2);
    for (int s = 1; s <= m.NumSets; ++s) {
      SelectFitWindow(m, work, s);
      OpenBook(m);
      StartEstimates(m, work, s);
      Workbook& book = dataBook(m);
      const int row = c::analysisRow(level), col = c::analysisColumn(s);
      book.write(c::kAnalysisSheet, row, col, Variant::single(m.StartPercent));
      book.write(c::kAnalysisSheet, row, col + 1, Variant::single(m.C0[s]));
      book.write(c::kAnalysisSheet, row, col + 2, Variant::single(m.Cinf[s]));
      book.write(c::kAnalysisSheet, row, col + 3, Variant::single(m.KLa[s]));
      summary.initialAnalysis[std::size_t(s - 1)].push_back({m.StartPercent, m.C0[s], m.Cinf[s], m.KLa[s]});
    }
  }
  return summary;
}

}  // namespace

ReadingSummary ReadDataSets(Module1& m, Feedback& screen) {
  screen.beep();
  screen.setCaption(Control::Label1, "Reading Data Sets...");
  screen.setVisible(Control::Label3, true);
  return commitAfter(m, [&] {
    ReadConditions(m);
    CheckConditions(m, dataBook(m));
    m.dimensionReadings(m.NumSets, m.NumPoints);
    screen.setVisible(Control::ProgressBar1, true);
    screen.setProgressMinimum(0);
    screen.setProgressMaximum(float(m.NumPoints));
    readReadings(m, screen);
    CheckReadings(m, dataBook(m));  // before the first write

    screen.setCaption(Control::Label1, "Initial analysis...");
    screen.setProgressValue(0);
    screen.setProgressMaximum(float(c::kLevels));
    screen.setProgressMinimum(0);
    ReadingSummary summary = initialAnalysis(m, screen);

    Workbook& book = dataBook(m);
    for (int s = 1; s <= m.NumSets; ++s)
      book.write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(s), Integer(1));
    ShowBook(m, Integer(c::kAnalysisSheet));
    screen.setEnabled(Control::cmdRead, false);
    screen.setVisible(Control::cmdNext, true);
    screen.setEnabled(Control::cmdNext, true);
    screen.setVisible(Control::Label3, false);
    screen.setVisible(Control::Label1, false);
    screen.setVisible(Control::ProgressBar1, false);
    book.select(c::kAnalysisSheet, c::selectionCell());
    screen.beep();
    return summary;
  });
}

}  // namespace vk

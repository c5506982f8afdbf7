#include "commands/RunCommand.h"

#include "commands/CommitAfter.h"
#include "commands/InputChecks.h"
#include "estimate/Fit.h"
#include "intake/Trimming.h"
#include "report/ResultWriting.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"
#include "workbook/ReadCell.h"

namespace vk {

namespace c = cells;

namespace {

// Everything an earlier run wrote on sheet 3, so that a new run never leaves
// rows of an earlier one beside its own.
void clearEarlierResults(Workbook& book) {
  const int sheet = c::kResultsSheet;
  book.clearContents(sheet, c::historyRange(c::kHistoryLastRow));
  book.clearContents(sheet, c::pointTableRange(c::kLastRow));
  for (int set = 1; set <= kMaxSets; ++set) book.clearContents(sheet, c::resultBlockRange(set));
  book.clearContents(sheet, c::summaryRange());
  book.clearContents(sheet, c::averageRange());
  for (int set = 1; set <= kMaxSets; ++set) book.clearContents(sheet, c::keptCountCell(set));
}

// The fit's history on sheet 3, one row per pass: the pass number when the
// pass starts, the estimates it started from and their sum of squares when it
// has evaluated its trial. A fault part-way leaves the row as far as it got.
// The passes are also kept in `kept` for the summary.
FitCallbacks historyRows(Workbook& book, int set, std::vector<FitPass>& kept) {
  const int column = c::resultColumn(set);
  FitCallbacks history;
  history.passStarted = [&book, column](Integer pass) {
    book.write(c::kResultsSheet, c::historyRow(pass), column, Variant(pass));
  };
  history.passEnded = [&book, column, &kept](const FitPass& p) {
    const int row = c::historyRow(p.pass);
    book.write(c::kResultsSheet, row, column + 1, Variant::single(p.cinf));
    book.write(c::kResultsSheet, row, column + 2, Variant::single(p.c0));
    book.write(c::kResultsSheet, row, column + 3, Variant::single(p.kla));
    book.write(c::kResultsSheet, row, column + 4, p.sumSq);
    kept.push_back(p);
  };
  return history;
}

// The set as its trimming left it; the fit changes none of this.
SetResult trimmedSet(const Module1& m, int set) {
  SetResult s;
  s.set = set;
  s.StartPercent = m.StartPercent;
  s.TimeShift = m.TimeShift[set];
  for (int q = 1; q <= m.NumKept[set].asInteger(); ++q) {
    s.kept.Times.push_back(m.Times(set, q));
    s.kept.Conc.push_back(m.Conc(set, q));
  }
  for (int p = 1; p <= m.NumPoints; ++p) {
    s.raw.Times.push_back(m.TimesRaw(set, p));
    s.raw.Conc.push_back(m.ConcRaw(set, p));
  }
  return s;
}

// Every set's start threshold, each checked, before anything is written: a
// threshold that cannot be must not stop the run half-way.
std::vector<float> readStartThresholds(const Module1& m, Workbook& book) {
  std::vector<float> thresholds;
  for (int set = 1; set <= m.NumSets; ++set) {
    const float percent = readSingle(book, c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set));
    CheckThresholdCell(book, set, percent);
    thresholds.push_back(percent);
  }
  return thresholds;
}

void checkDataRead(const Module1& m) {
  if (m.NumSets < 1 || !m.ConcRaw.dimensioned())
    throw Fault(FaultKind::BadInput, "no data sets have been read: run the Reading command first");
}

// The Run works on the document the Reading read. Once a spreadsheet
// application has closed it (or ended), its unsaved initial analysis and the
// thresholds edited there are gone: binding again would load the file as it
// was last saved, and the run would use thresholds nobody chose.
void checkSameDocument(const Module1& m) {
  if (!m.DataBook || m.DataBook->stillOpen()) return;
  const std::string application = m.Engine ? m.Engine->name() : "the spreadsheet program";
  throw Fault(FaultKind::Workbook,
              "the workbook " + m.DataBook->path() + " was closed after the Reading (or " + application +
                  " ended, or this program lost its connection to it). The initial analysis and any start "
                  "thresholds edited there are lost unless they were saved. Go \"<<Back\" and press \"Reading \" "
                  "to attach the workbook again and read it anew");
}

std::string notConvergedWarning(const std::vector<int>& sets) {
  std::string names;
  for (size_t k = 0; k < sets.size(); ++k) {
    if (k > 0) names += k + 1 == sets.size() ? " and " : ", ";
    names += std::to_string(sets[k]);
  }
  return std::string(sets.size() == 1 ? "The fit of data set " : "The fits of data sets ") + names +
         " did not converge in " + std::to_string(kMaxPasses) +
         " passes; their results are written but are not reliable.";
}

}  // namespace

RunSummary RunAnalysis(Module1& m, Feedback& screen) {
  screen.beep();
  screen.setEnabled(Control::Timer1, true);
  screen.setCaption(Control::Label1, "Be patient!!");
  RunSummary summary = commitAfter(m, [&] {
    RunSummary run;
    checkDataRead(m);
    checkSameDocument(m);
    OpenBook(m);
    RestoreData(m);
    const std::vector<float> thresholds = readStartThresholds(m, dataBook(m));
    clearEarlierResults(dataBook(m));

    RunningSums sums;
    if (m.NumSets > 2) {
      screen.setVisible(Control::ProgressBar1, true);
      screen.setProgressMaximum(float(m.NumSets));
      screen.setProgressMinimum(0);
      screen.setProgressValue(0);
    }
    TrimWork work;
    FitLocals fit;
    const FitOptions options;  // the program's tolerances and its limit of kMaxPasses passes
    const TestConditions test{m.WaterTemp, m.BaroPress, m.TankVolume, m.AirFlow};
    run.conditions = test;
    for (int i = 1; i <= m.NumSets; ++i) {
      screen.setProgressValue(float(i));
      Workbook& book = dataBook(m);
      m.StartPercent = thresholds[std::size_t(i - 1)];
      SelectFitWindow(m, work, i);
      CheckPointTableFits(m, i);
      book.write(c::kResultsSheet, c::kStartPercentResultRow, c::testColumn(i), Variant::single(m.StartPercent));
      StartEstimates(m, work, i);
      StartFit(m, fit, i);
      SetResult set = trimmedSet(m, i);
      set.fit = FitDataSet(m, fit, i, options, historyRows(book, i, set.history));
      set.C0 = m.C0[i];
      set.Cinf = m.Cinf[i];
      set.KLa = m.KLa[i];
      set.figures = Standardise(test, m.Cinf[i], m.KLa[i], i);
      set.StdErr = fit.StdErr[i];
      WriteSetResults(m, book, i, set.figures, fit.StdErr[i]);
      sums.add(set.figures, fit.StdErr[i]);
      if (!set.fit.converged()) run.notConverged.push_back(i);
      run.sets.push_back(std::move(set));
    }
    run.averages = WriteAverages(dataBook(m), sums, m.NumSets);

    screen.setEnabled(Control::Timer1, false);
    screen.setEnabled(Control::SSCommand2, false);
    screen.setVisible(Control::Label1, false);
    ShowBook(m, Integer(c::kResultsSheet));
    m.FileBook->runMacro("Redraw");
    screen.setEnabled(Control::cmdBye, true);
    screen.setVisible(Control::cmdBye, true);
    screen.setVisible(Control::ProgressBar1, false);
    screen.setVisible(Control::cmdStartOver, true);
    screen.setEnabled(Control::cmdStartOver, true);
    return run;
  });
  if (!summary.notConverged.empty()) screen.warning(notConvergedWarning(summary.notConverged));
  return summary;
}

}  // namespace vk

#include "commands/OpenCommand.h"

#include "commands/CommitAfter.h"
#include "commands/StartingNotice.h"
#include "workbook/Book.h"
#include "workbook/CellMap.h"

namespace vk {

namespace c = cells;

std::string BuildWorkbookPath(const std::string& directory, const std::string& fileName) {
  if (!directory.empty() && directory.back() == '/') return directory + fileName;
  return directory + "/" + fileName;
}

namespace {

// Blanks every area an earlier analysis filled, in a fixed order. The fit
// history includes row 21 and the point tables run to the last row, so that
// nothing of an earlier analysis stays beside a new one.
void blankTemplateAreas(Workbook& book) {
  book.clearContents(c::kAnalysisSheet, c::analysisTableRange());
  book.clearContents(c::kResultsSheet, c::pointTableRange(c::kLastRow));
  book.clearContents(c::kResultsSheet, c::historyRange(c::kHistoryLastRow));
  for (int set = 1; set <= kMaxSets; ++set) book.clearContents(c::kResultsSheet, c::resultBlockRange(set));
  book.clearContents(c::kResultsSheet, c::summaryRange());
  book.clearContents(c::kResultsSheet, c::averageRange());
  for (int set = 1; set <= kMaxSets; ++set) book.clearContents(c::kResultsSheet, c::keptCountCell(set));
  for (int set = 1; set <= kMaxSets; ++set)
    book.write(c::kAnalysisSheet, c::kThresholdRow, c::analysisColumn(set), Integer(0));
}

}  // namespace

void OpenWorkbook(Module1& m, Feedback& screen, const std::string& directory, const std::string& selectedFile) {
  m.WorkbookName = selectedFile;
  screen.beep();
  if (selectedFile.empty()) {
    screen.message("Please Choose a proper file");
    return;
  }
  m.WorkbookPath = BuildWorkbookPath(directory, selectedFile);
  const std::string selection = "Your selection is : " + m.WorkbookPath;
  screen.setCaption(Control::Label2, selection);
  {
    // Starting the spreadsheet program takes seconds: the selection line
    // says so meanwhile, and shows the choice alone again afterwards.
    StartingNotice notice(
        m.Engine.get(), [&](const std::string& text) { screen.setCaption(Control::Label2, selection + "\n" + text); },
        [&] { screen.setCaption(Control::Label2, selection); });
    OpenBook(m);
  }
  commitAfter(m, [&] {
    blankTemplateAreas(dataBook(m));
    ShowBook(m, Integer(c::kTestSheet));
    screen.setEnabled(Control::cmdNext, true);
    screen.setVisible(Control::cmdNext, true);
    screen.setEnabled(Control::SSCommand1, false);
    screen.setEnabled(Control::drvChange, false);
    screen.setEnabled(Control::filFind, false);
    screen.setEnabled(Control::dirLook, false);
    dataBook(m).select(c::kTestSheet, c::selectionCell());
  });
}

}  // namespace vk

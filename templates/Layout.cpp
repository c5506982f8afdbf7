#include "templates/Layout.h"

#include <xlsxwriter.h>
#include <zip.h>

#include <ctime>
#include <iterator>
#include <stdexcept>
#include <string>

#include "module1/Arrays.h"
#include "workbook/A1.h"
#include "workbook/CellMap.h"

namespace vk::books {

namespace {

using namespace vk::cells;

// Sheet names; the program finds the sheets by their defined names, or by
// their positions in a workbook without them, never by these.
const char* const kSheetNames[] = {"Test", "Initial analysis", "Results"};

// The fixed creation time of every workbook (2026-01-01T00:00:00Z), so that
// the output does not depend on when it is made.
constexpr time_t kCreated = 1767225600;

// Where the template puts what the program does not touch.
constexpr int kTitleRow = 1;
constexpr int kNoteRow = 2;
constexpr int kConditionHeadingRow = kNumPointsRow - 1;   // sheet 1, row 6
constexpr int kReadingHeadingRow = readingRow(1) - 1;     // sheet 1, row 6
constexpr int kLabelColumn = 1;                           // A: condition labels
constexpr int kUnitColumn = 2;                            // B: their units
constexpr int kAnalysisSetRow = analysisRow(1) - 2;       // sheet 2, row 5
constexpr int kAnalysisHeadingRow = analysisRow(1) - 1;   // sheet 2, row 6
constexpr int kThresholdLabelRow = kThresholdRow - 1;     // sheet 2, row 44
constexpr int kHistorySetRow = kHistoryFirstRow - 2;      // sheet 3, row 9
constexpr int kHistoryHeadingRow = kHistoryFirstRow - 1;  // sheet 3, row 10
constexpr int kSummaryTitleRow = summaryRow(1) - 2;       // sheet 3, row 11
constexpr int kSummaryHeadingRow = summaryRow(1) - 1;     // sheet 3, row 12
constexpr int kSetsAnalysedRow = kAverageRow + 1;         // sheet 3, row 20
constexpr int kResultsSetRow = kResultsFirstRow - 2;      // sheet 3, row 23
constexpr int kResultsHeadingRow = kResultsFirstRow - 1;  // sheet 3, row 24
constexpr int kKLa20PerMinuteRow = kResultsLastRow + 1;   // sheet 3, row 36
constexpr int kPointSetRow = kKeptCountRow - 1;           // sheet 3, row 42
constexpr int kPointHeadingRow = kPointFirstRow - 1;      // sheet 3, row 44
constexpr int kChartLastRow = 700;                        // the charts draw the point tables down to here
constexpr int kFirstChartRow = 22;                        // charts stacked in columns A to H
constexpr int kChartRowStep = 16;

lxw_row_t R(int row) { return lxw_row_t(row - 1); }
lxw_col_t C(int column) { return lxw_col_t(column - 1); }
std::string A1(int row, int column) { return a1Upper(row, column); }

void check(lxw_error e, const char* what) {
  if (e != LXW_NO_ERROR) throw std::runtime_error(std::string(what) + ": " + lxw_strerror(e));
}

struct Formats {
  lxw_format* title;
  lxw_format* heading;     // bold, bottom border, wrapped
  lxw_format* setHeading;  // bold, coloured
  lxw_format* unit;        // italic
  lxw_format* input;       // cells the user fills: light yellow
  lxw_format* inputCount;
  lxw_format* time;
  lxw_format* reading;
  lxw_format* count;      // whole numbers written by the program
  lxw_format* value;      // values written by the program
  lxw_format* small;      // sums of squares, standard errors
  lxw_format* threshold;  // the start thresholds on sheet 2, edited by the user
  lxw_format* formula;
  lxw_format* dateTime;  // logger time stamps in a workbook the analysis refuses

  explicit Formats(lxw_workbook* wb) {
    title = workbook_add_format(wb);
    format_set_bold(title);
    format_set_font_size(title, 14);
    heading = workbook_add_format(wb);
    format_set_bold(heading);
    format_set_bottom(heading, LXW_BORDER_THIN);
    format_set_text_wrap(heading);
    format_set_align(heading, LXW_ALIGN_CENTER);
    format_set_align(heading, LXW_ALIGN_VERTICAL_BOTTOM);
    setHeading = workbook_add_format(wb);
    format_set_bold(setHeading);
    format_set_font_color(setHeading, 0x1F4E79);
    unit = workbook_add_format(wb);
    format_set_italic(unit);
    input = workbook_add_format(wb);
    format_set_bg_color(input, 0xFFF2CC);
    format_set_num_format(input, "0.0##");
    inputCount = workbook_add_format(wb);
    format_set_bg_color(inputCount, 0xFFF2CC);
    format_set_num_format(inputCount, "0");
    time = workbook_add_format(wb);
    format_set_num_format(time, "0.0#");
    reading = workbook_add_format(wb);
    format_set_num_format(reading, "0.00");
    count = workbook_add_format(wb);
    format_set_num_format(count, "0");
    value = workbook_add_format(wb);
    format_set_num_format(value, "0.0000");
    small = workbook_add_format(wb);
    format_set_num_format(small, "0.000000");
    threshold = workbook_add_format(wb);
    format_set_bg_color(threshold, 0xFFF2CC);
    format_set_num_format(threshold, "0.0");
    formula = workbook_add_format(wb);
    format_set_num_format(formula, "0.0000");
    format_set_font_color(formula, 0x595959);
    dateTime = workbook_add_format(wb);
    format_set_num_format(dateTime, "yyyy-mm-dd hh:mm:ss");
  }
};

void text(lxw_worksheet* ws, int row, int column, const std::string& s, lxw_format* f) {
  check(worksheet_write_string(ws, R(row), C(column), s.c_str(), f), "write a heading");
}
void blank(lxw_worksheet* ws, int row, int column, lxw_format* f) {
  check(worksheet_write_blank(ws, R(row), C(column), f), "format a cell");
}
void blanks(lxw_worksheet* ws, int firstRow, int lastRow, int firstColumn, int lastColumn, lxw_format* f) {
  for (int r = firstRow; r <= lastRow; ++r)
    for (int c = firstColumn; c <= lastColumn; ++c) blank(ws, r, c, f);
}
void formula(lxw_worksheet* ws, int row, int column, const std::string& f, lxw_format* fmt) {
  check(worksheet_write_formula(ws, R(row), C(column), f.c_str(), fmt), "write a formula");
}
// Printed in landscape, one page wide.
// The entry of the book at a cell of sheet 1, if it has one.
const Entry* entryAt(const TestBook& b, int row, int column) {
  for (const Entry& e : b.entries)
    if (e.row == row && e.column == column) return &e;
  return nullptr;
}

void writeEntry(lxw_worksheet* ws, const Formats& f, const Entry& e, lxw_format* fmt) {
  const lxw_row_t row = R(e.row);
  const lxw_col_t col = C(e.column);
  if (const double* number = std::get_if<double>(&e.value))
    check(worksheet_write_number(ws, row, col, *number, fmt), "write a number");
  else if (const bool* logical = std::get_if<bool>(&e.value))
    check(worksheet_write_boolean(ws, row, col, *logical, fmt), "write a logical value");
  else if (const std::string* s = std::get_if<std::string>(&e.value))
    text(ws, e.row, e.column, *s, fmt);
  else if (const DateTime* date = std::get_if<DateTime>(&e.value))
    check(worksheet_write_number(ws, row, col, date->serial, f.dateTime), "write a date");
  else
    blank(ws, e.row, e.column, fmt);
}

void pageSetup(lxw_worksheet* ws) {
  worksheet_set_landscape(ws);
  worksheet_set_paper(ws, 9);  // A4
  worksheet_fit_to_pages(ws, 1, 0);
}
// A heading row tall enough for two lines of wrapped text.
void headingRow(lxw_worksheet* ws, int row) { check(worksheet_set_row(ws, R(row), 30, nullptr), "set a row height"); }
void width(lxw_worksheet* ws, int first, int last, double w) {
  check(worksheet_set_column(ws, C(first), C(last), w, nullptr), "set a column width");
}

// Sheet 1: the test conditions in C7:C12 and the readings from row 7.
void writeTestSheet(lxw_worksheet* ws, const Formats& f, const TestBook& b) {
  text(ws, kTitleRow, 1, "Clean-water oxygen-transfer test", f.title);
  text(ws, kNoteRow, 1,
       "Enter the test conditions in column C and the readings from row 7: the time of every reading in "
       "column G and the dissolved oxygen of probes 1 to 6 in columns H to M.",
       nullptr);
  text(ws, kConditionHeadingRow, kLabelColumn, "Test condition", f.heading);
  text(ws, kConditionHeadingRow, kUnitColumn, "Unit", f.heading);
  text(ws, kConditionHeadingRow, kConditionColumn, "Value", f.heading);

  struct Row {
    int row;
    const char* label;
    const char* unit;
    bool count;
  };
  const Row rows[] = {{kNumPointsRow, "Readings per data set", "count", true},
                      {kNumSetsRow, "Data sets (probes), 1 to 6", "count", true},
                      {kWaterTempRow, "Water temperature",
                       "\xC2\xB0"
                       "C",
                       false},
                      {kBaroPressRow, "Barometric pressure", "inHg", false},
                      {kTankVolumeRow, "Tank water volume", "ft\xC2\xB3", false},
                      {kAirFlowRow, "Air flow (0 or empty: no SOTE)", "scfm", false}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    text(ws, r.row, kLabelColumn, r.label, nullptr);
    text(ws, r.row, kUnitColumn, r.unit, f.unit);
    lxw_format* fmt = r.count ? f.inputCount : f.input;
    const Condition& c = b.conditions[i];
    if (const Entry* e = entryAt(b, r.row, kConditionColumn))
      writeEntry(ws, f, *e, fmt);
    else if (const double* v = std::get_if<double>(&c))
      check(worksheet_write_number(ws, R(r.row), C(kConditionColumn), *v, fmt), "write a condition");
    else if (const std::string* s = std::get_if<std::string>(&c))
      text(ws, r.row, kConditionColumn, *s, fmt);
    else
      blank(ws, r.row, kConditionColumn, fmt);
  }

  // Not a condition of the analysis: only a campaign's SSOTE reads it, by its defined name.
  text(ws, kSubmergenceTemplateRow, kLabelColumn, "Diffuser submergence (for SSOTE; empty: none)", nullptr);
  text(ws, kSubmergenceTemplateRow, kUnitColumn, "ft", f.unit);
  if (b.submergenceFt)
    check(worksheet_write_number(ws, R(kSubmergenceTemplateRow), C(kConditionColumn), *b.submergenceFt, f.input),
          "write the submergence");
  else
    blank(ws, kSubmergenceTemplateRow, kConditionColumn, f.input);

  headingRow(ws, kReadingHeadingRow);
  text(ws, kReadingHeadingRow - 1, kTimeColumn, "Readings", f.title);
  text(ws, kReadingHeadingRow, kTimeColumn, "Time, min", f.heading);
  for (int s = 1; s <= kMaxSets; ++s)
    text(ws, kReadingHeadingRow, concColumn(s), "Probe " + std::to_string(s) + ", DO mg/L", f.heading);
  for (std::size_t p = 1; p <= b.times.size(); ++p) {
    const int row = readingRow(int(p));
    if (const Entry* e = entryAt(b, row, kTimeColumn))
      writeEntry(ws, f, *e, f.time);
    else
      check(worksheet_write_number(ws, R(row), C(kTimeColumn), b.times[p - 1], f.time), "write a time");
    for (std::size_t s = 1; s <= b.probes.size(); ++s) {
      if (const Entry* e = entryAt(b, row, concColumn(int(s)))) {
        writeEntry(ws, f, *e, f.reading);
        continue;
      }
      if (b.errorReading && b.errorReading->first == int(s) && b.errorReading->second == int(p)) {
        // libxlsxwriter writes a text result; the file is mended to an error value afterwards.
        check(worksheet_write_formula_str(ws, R(row), C(concColumn(int(s))), "=1/0", f.reading, "#DIV/0!"),
              "write an error");
        continue;
      }
      check(worksheet_write_number(ws, R(row), C(concColumn(int(s))), b.probes[s - 1][p - 1], f.reading),
            "write a reading");
    }
  }

  width(ws, kLabelColumn, kLabelColumn, 30);
  width(ws, kUnitColumn, kConditionColumn, 9);
  width(ws, kTimeColumn, kTimeColumn, 10);
  width(ws, concColumn(1), concColumn(kMaxSets), 12);
  worksheet_freeze_panes(ws, R(readingRow(1)), 0);
  pageSetup(ws);
}

// Sheet 2: the initial-analysis table (rows 7-22) and the start thresholds (row 45).
void writeAnalysisSheet(lxw_worksheet* ws, const Formats& f) {
  text(ws, kTitleRow, 1, "Initial analysis", f.title);
  text(ws, kNoteRow, 1,
       "Starting estimates of every data set at the start thresholds 0 to 30 % (written by the Reading command). "
       "Choose the start threshold of every data set in row 45 before the Run command.",
       nullptr);
  headingRow(ws, kAnalysisHeadingRow);
  const char* headings[] = {"Start threshold, %", "C0, mg/L", "C\xE2\x88\x9E, mg/L", "KLa, 1/min"};
  for (int s = 1; s <= kMaxSets; ++s) {
    const int col = analysisColumn(s);
    text(ws, kAnalysisSetRow, col, "Data set " + std::to_string(s), f.setHeading);
    for (int k = 0; k < 4; ++k) text(ws, kAnalysisHeadingRow, col + k, headings[k], f.heading);
    blanks(ws, analysisRow(1), analysisRow(kLevels), col, col, f.count);
    blanks(ws, analysisRow(1), analysisRow(kLevels), col + 1, col + 3, f.value);
    text(ws, kThresholdLabelRow, col, "Start threshold, set " + std::to_string(s), f.setHeading);
    check(worksheet_write_number(ws, R(kThresholdRow), C(col), 0, f.threshold), "write a threshold");
    text(ws, kThresholdRow, col + 1, "% of last reading", f.unit);
    width(ws, col, col + 3, 12);
    width(ws, col + 4, col + 5, 3);
  }
  text(ws, kThresholdLabelRow - 1, 1, "Start thresholds for the run", f.title);
  pageSetup(ws);
}

// One set's chart: measured and fitted DO against time, from its point table.
void addChart(lxw_workbook* wb, lxw_worksheet* ws, int set) {
  lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_SCATTER_STRAIGHT);
  const int col = resultColumn(set);
  char x[LXW_MAX_FORMULA_RANGE_LENGTH], measured[LXW_MAX_FORMULA_RANGE_LENGTH], fitted[LXW_MAX_FORMULA_RANGE_LENGTH];
  lxw_rowcol_to_formula_abs(x, kSheetNames[2], R(kPointFirstRow), C(col + 1), R(kChartLastRow), C(col + 1));
  lxw_rowcol_to_formula_abs(measured, kSheetNames[2], R(kPointFirstRow), C(col + 2), R(kChartLastRow), C(col + 2));
  lxw_rowcol_to_formula_abs(fitted, kSheetNames[2], R(kPointFirstRow), C(col + 3), R(kChartLastRow), C(col + 3));

  lxw_chart_series* m = chart_add_series(chart, x, measured);
  chart_series_set_name(m, "Measured");
  lxw_chart_line noLine = {};
  noLine.none = LXW_TRUE;
  chart_series_set_line(m, &noLine);
  chart_series_set_marker_type(m, LXW_CHART_MARKER_CIRCLE);
  chart_series_set_marker_size(m, 5);

  lxw_chart_series* fit = chart_add_series(chart, x, fitted);
  chart_series_set_name(fit, "Fitted");
  chart_series_set_marker_type(fit, LXW_CHART_MARKER_NONE);

  const std::string title = "Data set " + std::to_string(set) + ": dissolved oxygen";
  chart_title_set_name(chart, title.c_str());
  chart_axis_set_name(chart->x_axis, "Time from the first kept reading, min");
  chart_axis_set_name(chart->y_axis, "DO, mg/L");
  chart_axis_set_min(chart->x_axis, 0);
  chart_axis_set_min(chart->y_axis, 0);
  chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);

  lxw_chart_options o = {};
  o.x_scale = 1.5;
  o.y_scale = 1.0;
  check(worksheet_insert_chart_opt(ws, R(kFirstChartRow + kChartRowStep * (set - 1)), C(1), chart, &o),
        "insert a chart");
}

// Sheet 3: fit history, summary table, per-set results and point tables.
void writeResultsSheet(lxw_workbook* wb, lxw_worksheet* ws, const Formats& f) {
  text(ws, kTitleRow, 1, "Fit history and results", f.title);
  text(ws, kNoteRow, 1,
       "Written by the Run command; the Open command clears it. Standard conditions: 20 \xC2\xB0"
       "C, 29.92 inHg.",
       nullptr);

  // Summary table, rows 13 to 18, averages on row 19.
  text(ws, kSummaryTitleRow, 1, "Summary at standard conditions", f.title);
  const char* summary[] = {"Data set",      "KLa20, 1/h",           "C\xE2\x88\x9E std, mg/L", "SOTE, %",
                           "SOTR, lb O2/h", "Saturation depth, ft", "Std error, mg/L",         "Std pressure, inHg"};
  for (int row : {kHistoryHeadingRow, kSummaryHeadingRow, kResultsHeadingRow, kPointHeadingRow}) headingRow(ws, row);
  for (int c = kSetNumberColumn; c <= kStdPressColumn; ++c) text(ws, kSummaryHeadingRow, c, summary[c - 1], f.heading);
  blanks(ws, summaryRow(1), summaryRow(kMaxSets), kSetNumberColumn, kSetNumberColumn, f.count);
  blanks(ws, summaryRow(1), summaryRow(kMaxSets), kKLa20Column, kStdPressColumn, f.value);
  text(ws, kAverageRow, kSetNumberColumn, "Average", f.heading);
  blanks(ws, kAverageRow, kAverageRow, kKLa20Column, kStdPressColumn, f.value);
  text(ws, kSetsAnalysedRow, kSetNumberColumn, "Sets analysed", nullptr);
  formula(ws, kSetsAnalysedRow, kKLa20Column,
          "=COUNT(" + A1(summaryRow(1), kSetNumberColumn) + ":" + A1(summaryRow(kMaxSets), kSetNumberColumn) + ")",
          f.count);
  width(ws, kSetNumberColumn, kStdPressColumn, 13);
  width(ws, kStdPressColumn + 1, kStdPressColumn + 1, 3);

  const char* history[] = {"Pass", "C\xE2\x88\x9E, mg/L", "C0, mg/L", "KLa, 1/min", "Sum of squares"};
  struct Result {
    int row;
    const char* label;
    const char* unit;
  };
  const Result results[] = {{kWaterTempResultRow, "Water temperature",
                             "\xC2\xB0"
                             "C"},
                            {kBaroPressResultRow, "Barometric pressure", "inHg"},
                            {kCinfResultRow, "C\xE2\x88\x9E, saturation", "mg/L"},
                            {kKLaResultRow, "KLa", "1/h"},
                            {kStdErrResultRow, "Standard error of estimate", "mg/L"},
                            {kSOTRResultRow, "SOTR", "lb O2/h"},
                            {kSOTEResultRow, "SOTE", "%"},
                            {kSatDepthResultRow, "Effective saturation depth", "ft"},
                            {kTauResultRow, "Tau, saturation ratio", ""},
                            {kOmegaResultRow, "Omega, pressure correction", ""},
                            {kStartPercentResultRow, "Start threshold", "% of last"}};
  const char* points[] = {"Point", "Time, min", "Measured DO, mg/L", "Fitted DO, mg/L", "Residual, mg/L"};

  for (int s = 1; s <= kMaxSets; ++s) {
    const int col = resultColumn(s);
    const std::string set = "data set " + std::to_string(s);

    // Fit history, rows 11 to 21.
    text(ws, kHistorySetRow, col, "Fit history, " + set, f.setHeading);
    for (int k = 0; k < 5; ++k) text(ws, kHistoryHeadingRow, col + k, history[k], f.heading);
    blanks(ws, kHistoryFirstRow, kHistoryLastRow, col, col, f.count);
    blanks(ws, kHistoryFirstRow, kHistoryLastRow, col + 1, col + 3, f.value);
    blanks(ws, kHistoryFirstRow, kHistoryLastRow, col + 4, col + 4, f.small);

    // Results, rows 25 to 35.
    text(ws, kResultsSetRow, col, "Results, " + set, f.setHeading);
    text(ws, kResultsHeadingRow, col, "Quantity", f.heading);
    text(ws, kResultsHeadingRow, testColumn(s), "Test conditions", f.heading);
    text(ws, kResultsHeadingRow, standardColumn(s), "Standard conditions", f.heading);
    text(ws, kResultsHeadingRow, standardColumn(s) + 1, "Unit", f.heading);
    for (const Result& r : results) {
      text(ws, r.row, col, r.label, nullptr);
      if (*r.unit) text(ws, r.row, standardColumn(s) + 1, r.unit, f.unit);
      blank(ws, r.row, testColumn(s), r.row == kStdErrResultRow ? f.small : f.value);
      blank(ws, r.row, standardColumn(s), f.value);
    }
    text(ws, kKLa20PerMinuteRow, col, "KLa20", nullptr);
    formula(ws, kKLa20PerMinuteRow, standardColumn(s), "=" + A1(kKLaResultRow, standardColumn(s)) + "/60", f.formula);
    text(ws, kKLa20PerMinuteRow, standardColumn(s) + 1, "1/min", f.unit);

    // Point table from row 45; the count of kept readings on row 43.
    text(ws, kPointSetRow, col, "Points of " + set, f.setHeading);
    text(ws, kKeptCountRow, col, "Readings used in the fit", nullptr);
    blank(ws, kKeptCountRow, testColumn(s), f.count);
    text(ws, kKeptCountRow, standardColumn(s), "Listed below", nullptr);
    formula(ws, kKeptCountRow, standardColumn(s) + 1,
            "=COUNT(" + A1(kPointFirstRow, col) + ":" + A1(kChartLastRow, col) + ")", f.count);
    for (int k = 0; k < 5; ++k) text(ws, kPointHeadingRow, col + k, points[k], f.heading);

    width(ws, col, col, 25);
    width(ws, col + 1, col + 4, 12);
    width(ws, col + 5, col + 6, 3);
    addChart(wb, ws, s);
  }
  pageSetup(ws);
}

// "$C$7:$C$12" for "c7:c12", "$C$13" for "c13".
std::string absolute(const std::string& range) {
  const CellRange r = parseA1(range);
  auto cell = [](int row, int column) {
    std::string text = "$";
    appendColumnLetters(text, column);
    return text + "$" + std::to_string(row);
  };
  if (r.firstRow == r.lastRow && r.firstColumn == r.lastColumn) return cell(r.firstRow, r.firstColumn);
  return cell(r.firstRow, r.firstColumn) + ":" + cell(r.lastRow, r.lastColumn);
}

// The workbook-level names that mark the three sheets, on the cells the cell
// map gives them, or what the book has them refer to instead; and the name
// of the submergence cell.
void defineSheetNames(lxw_workbook* wb, const TestBook& b) {
  for (const SheetDefinedName& n : kSheetDefinedNames) {
    const std::string sheet = kSheetNames[n.sheet - 1];
    const bool plain = sheet.find(' ') == std::string::npos;
    std::string formula = "=" + (plain ? sheet : "'" + sheet + "'") + "!" + absolute(definedNameRange(n.sheet));
    for (const auto& [name, refersTo] : b.namesReferTo)
      if (name == n.name) formula = refersTo;
    check(workbook_define_name(wb, n.name, formula.c_str()), "define a name");
  }
  const std::string submergence =
      std::string("=") + kSheetNames[kTestSheet - 1] + "!" + absolute(a1(kSubmergenceTemplateRow, kConditionColumn));
  check(workbook_define_name(wb, kDiffuserSubmergenceName, submergence.c_str()), "define a name");
}

// libxlsxwriter writes a formula's text result as t="str"; an error value is
// t="e". Rewrites that one entry of the finished file, at libxlsxwriter's date.
void markErrorValue(const std::string& file, int sheet) {
  int err = 0;
  zip_t* za = zip_open(file.c_str(), 0, &err);
  if (!za) throw std::runtime_error("cannot reopen " + file);
  const std::string name = "xl/worksheets/sheet" + std::to_string(sheet) + ".xml";
  const zip_int64_t index = zip_name_locate(za, name.c_str(), 0);
  zip_stat_t st;
  zip_file_t* in = index < 0 || zip_stat_index(za, zip_uint64_t(index), 0, &st) != 0
                       ? nullptr
                       : zip_fopen_index(za, zip_uint64_t(index), 0);
  if (!in) {
    zip_discard(za);
    throw std::runtime_error("no " + name + " in " + file);
  }
  std::string xml(st.size, '\0');
  const bool read = zip_fread(in, xml.data(), st.size) == zip_int64_t(st.size);
  zip_fclose(in);
  const std::string from = "t=\"str\"><f>1/0</f>", to = "t=\"e\"><f>1/0</f>";
  const auto at = xml.find(from);
  if (!read || at == std::string::npos) {
    zip_discard(za);
    throw std::runtime_error("no error formula in " + name);
  }
  xml.replace(at, from.size(), to);
  zip_source_t* src = zip_source_buffer(za, xml.data(), xml.size(), 0);
  constexpr zip_uint16_t kTime = 0, kDate = (0 << 9) | (1 << 5) | 1;  // 1980-01-01 00:00
  if (!src || zip_file_replace(za, zip_uint64_t(index), src, 0) != 0 ||
      zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0 ||
      zip_file_set_dostime(za, zip_uint64_t(index), kTime, kDate, 0) != 0 || zip_close(za) != 0) {
    const std::string why = zip_strerror(za);
    zip_discard(za);
    throw std::runtime_error("cannot rewrite " + file + ": " + why);
  }
}

}  // namespace

void writeWorkbook(const TestBook& b, const std::string& file) {
  lxw_workbook* wb = workbook_new(file.c_str());
  if (!wb) throw std::runtime_error("cannot create " + file);

  lxw_doc_properties props = {};
  props.title = const_cast<char*>("Clean-water oxygen-transfer test");
  props.subject = const_cast<char*>(b.purpose.c_str());
  props.author = const_cast<char*>("VELM KALIX");
  props.comments = const_cast<char*>("Made by make-workbooks");
  props.created = kCreated;
  check(workbook_set_properties(wb, &props), "set the document properties");

  Formats f(wb);
  lxw_worksheet* sheets[3] = {};
  for (int sheet : b.tabOrder)
    if (sheet <= b.sheets) sheets[sheet - 1] = workbook_add_worksheet(wb, kSheetNames[sheet - 1]);
  writeTestSheet(sheets[0], f, b);
  if (sheets[1]) writeAnalysisSheet(sheets[1], f);
  if (sheets[2]) writeResultsSheet(wb, sheets[2], f);
  if (b.definedNames && b.sheets >= 3) defineSheetNames(wb, b);
  for (int sheet : b.hiddenSheets) worksheet_hide(sheets[sheet - 1]);
  check(workbook_close(wb), ("write " + file).c_str());

  if (b.errorReading) markErrorValue(file, kTestSheet);
}

}  // namespace vk::books

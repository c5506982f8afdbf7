#pragma once
// The contents of every workbook the generator makes: the template, the
// sample test and the test workbooks. Each is the template's layout with, on
// sheet 1, its test conditions and readings.

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vk::books {

// A condition cell of sheet 1: empty, a number or a text.
using Condition = std::variant<std::monostate, double, std::string>;

// A number shown as a date and time (a serial day number).
struct DateTime {
  double serial;
};

// A cell of sheet 1 that holds something else than the test's data puts
// there: empty, a number, a logical value, a text, or a date and time.
struct Entry {
  int row;
  int column;
  std::variant<std::monostate, double, bool, std::string, DateTime> value;
};

struct TestBook {
  std::string path;     // relative to the source tree, e.g. "tests/data/e2e/one-set.xlsx"
  std::string purpose;  // one line: what the workbook is for
  // C7 to C12: readings per set, data sets, water temperature, barometric
  // pressure, tank volume, air flow.
  std::vector<Condition> conditions = std::vector<Condition>(6);
  // The diffuser's submergence in feet, in the labelled cell that the
  // defined name "DiffuserSubmergence" marks on sheet 1; empty: not given.
  std::optional<double> submergenceFt;
  std::vector<double> times;                // column G from row 7
  std::vector<std::vector<double>> probes;  // probe s in column 7 + s from row 7
  int sheets = 3;                           // fewer than three: a fault of the engine
  // A reading (probe, reading, both from 1) that holds the error value #DIV/0!.
  std::optional<std::pair<int, int>> errorReading;
  // Cells of sheet 1 that differ from the data above: input the analysis
  // refuses.
  std::vector<Entry> entries;

  // The template's sheet (1 test, 2 initial analysis, 3 results) at each
  // tab, the first tab first.
  std::vector<int> tabOrder = {1, 2, 3};
  // The template's defined names on its sheets and its submergence cell
  // (workbook/CellMap.h), unless the workbook is one made before them.
  bool definedNames = true;
  // Defined names that refer to something else than their sheet's cells:
  // name, what it refers to ("=#REF!").
  std::vector<std::pair<std::string, std::string>> namesReferTo;
  // The template's sheets whose tabs are hidden.
  std::vector<int> hiddenSheets;
};

// Every workbook the generator makes, in a fixed order.
const std::vector<TestBook>& allBooks();
// The workbook of that path; throws std::out_of_range when there is none.
const TestBook& book(const std::string& path);

// The 13 readings of probe 1 of the sample, at the times 0 to 12 minutes.
extern const std::vector<double> kWorkedExample;

}  // namespace vk::books

// Files the engine wrote, opened by headless LibreOffice and exported as CSV:
// the written values are there and the formulas over them were recalculated.
// Skipped where LibreOffice is not installed.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/workbook/xlsx/EditedCopy.h"
#include "workbook/xlsx/sheet/CellRef.h"

namespace vk::xlsx {
namespace {

using namespace vk::xlsxtest;
namespace fs = std::filesystem;
using Table = std::vector<std::vector<std::string>>;

std::string findOffice() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':'))
    if (!dir.empty() && fs::exists(dir + "/soffice")) return dir + "/soffice";
  return {};
}

Table readCsv(const std::string& path) {
  Table table;
  std::string text = readFile(path);
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\n') {
      row.push_back(field);
      field.clear();
      table.push_back(row);
      row.clear();
    } else if (c != '\r') {
      field += c;
    }
  }
  return table;
}

std::string cell(const Table& table, int row, int column) {
  if (row < 1 || std::size_t(row) > table.size() || column < 1 ||
      std::size_t(column) > table[std::size_t(row - 1)].size())
    return {};
  return table[std::size_t(row - 1)][std::size_t(column - 1)];
}

void expectNumber(const Table& table, int row, int column, double expected) {
  std::string text = cell(table, row, column);
  SCOPED_TRACE(cellRef(row, column) + " holds \"" + text + "\"");
  ASSERT_FALSE(text.empty());
  double value = std::strtod(text.c_str(), nullptr);
  EXPECT_NEAR(value, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
}

class LibreOffice : public ::testing::Test {
 protected:
  void SetUp() override {
    office = findOffice();
    if (office.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  }
  // Exports every sheet of every file to CSV: "<file stem>-<sheet name>.csv" in out/.
  void exportAll(const std::vector<std::string>& files) {
    std::string command = "'" + office + "' -env:UserInstallation=file://" + dir.path() +
                          "/profile --headless --convert-to "
                          "'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' --outdir '" +
                          dir.path() + "/out'";
    for (const std::string& f : files) command += " '" + f + "'";
    command += " > '" + dir.path() + "/office.log' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readFile(dir.path() + "/office.log");
  }
  Table sheet(const std::string& stem, const std::string& sheetName) {
    std::string path = dir.path() + "/out/" + stem + "-" + sheetName + ".csv";
    if (!fs::exists(path)) {
      ADD_FAILURE() << "LibreOffice did not export " << path << ":\n" << readFile(dir.path() + "/office.log");
      return {};
    }
    return readCsv(path);
  }
  void expectWritten(const EditedCopy& copy, const std::string& stem, const std::vector<std::string>& sheetNames) {
    std::vector<Table> tables;
    for (const std::string& name : sheetNames) tables.push_back(sheet(stem, name));
    for (const auto& [key, value] : copy.written) {
      auto [s, row, column] = key;
      SCOPED_TRACE(stem + " sheet " + std::to_string(s));
      expectNumber(tables[std::size_t(s - 1)], row, column, value.asDouble());
    }
  }

  std::string office;
  TempDir dir;
};

TEST_F(LibreOffice, OpensWhatTheEngineWroteWithValuesAndRecalculatedFormulas) {
  writeFile(dir.file("template-like-source.xlsx"), zipBytes(templateLikeBook().book.build()));
  EditedCopy mine = editLikeTheCommands(dir, dir.file("template-like-source.xlsx"), "mine.xlsx");
  EditedCopy formulas =
      editLikeTheCommands(dir, sourcePath("tests/data/foreign/openpyxl-cached-formulas.xlsx"), "formulas.xlsx");
  EditedCopy zip64 = editLikeTheCommands(dir, sourcePath("tests/data/foreign/zip64.xlsx"), "zip64.xlsx");
  EditedCopy office = editLikeTheCommands(dir, sourcePath("tests/data/foreign/libreoffice.xlsx"), "office.xlsx");
  std::vector<std::string> files = {mine.path, formulas.path, zip64.path, office.path};
  bool haveTemplate = fs::exists(sourcePath("templates/template.xlsx"));
  EditedCopy templ;
  if (haveTemplate) {
    templ = editLikeTheCommands(dir, sourcePath("templates/template.xlsx"), "template.xlsx");
    files.push_back(templ.path);
  }
  exportAll(files);

  expectWritten(mine, "mine", {"Sheet1", "Sheet2", "Sheet3"});
  Table results = sheet("mine", "Sheet3");
  expectNumber(results, 5, 3, 4.5);  // AVERAGE(J45:J300) over the new point numbers 1 to 8
  expectNumber(results, 6, 3, 2);    // Sheet2!A45+1, A45 now 1
  expectNumber(results, 7, 3, 3);
  expectNumber(sheet("mine", "Sheet1"), 14, 3, 2000);
  EXPECT_EQ(cell(results, 1, 1), "Results");

  const std::vector<std::string> names = {"Test", "Initial analysis", "Results"};
  for (const auto& [copy, stem] :
       {std::pair{&formulas, "formulas"}, std::pair{&zip64, "zip64"}, std::pair{&office, "office"}}) {
    expectWritten(*copy, stem, names);
    expectNumber(sheet(stem, "Test"), 11, 3, 1200);
  }
  // COUNT(A13:A18): the set numbers 1 and 2 written, not the stale 5 nor the old 0.
  expectNumber(sheet("formulas", "Results"), 20, 2, 2);
  expectNumber(sheet("office", "Results"), 20, 2, 2);
  if (haveTemplate) {
    std::vector<std::string> templateSheets;
    for (const auto& e : fs::directory_iterator(dir.path() + "/out")) {
      std::string f = e.path().filename().string();
      if (f.rfind("template-", 0) == 0) templateSheets.push_back(f);
    }
    EXPECT_GE(templateSheets.size(), 3u);
  }
}

}  // namespace
}  // namespace vk::xlsx

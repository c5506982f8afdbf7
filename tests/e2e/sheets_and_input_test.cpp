// Through the batch tool and the embedded engine, on generated workbooks:
// the sheets are found by their defined names wherever their tabs stand, and
// input that cannot be a test is refused naming its cell.

#include <gtest/gtest.h>

#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/batch/BatchTool.h"
#include "tests/support/TestFolder.h"
#include "tests/support/XlsxCells.h"
#include "workbook/A1.h"
#include "workbook/CellMap.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace vk {
namespace {

namespace fs = std::filesystem;
namespace c = cells;
using Cells = test::StoredCells;
using test::sameCells;

std::string bytesOf(const fs::path& file) {
  std::ostringstream out;
  out << std::ifstream(file, std::ios::binary).rdbuf();
  return out.str();
}

// The workbook part of a saved file, read with libzip.
std::string workbookPart(const fs::path& file) {
  int error = 0;
  zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error);
  if (!zip) return {};
  std::string xml;
  zip_stat_t st;
  if (zip_stat(zip, "xl/workbook.xml", 0, &st) == 0)
    if (zip_file_t* part = zip_fopen(zip, "xl/workbook.xml", 0)) {
      xml.resize(st.size);
      zip_fread(part, xml.data(), st.size);
      zip_fclose(part);
    }
  zip_close(zip);
  return xml;
}

struct SheetsAndInput : ::testing::Test {
  fs::path dir;
  std::string err;

  void SetUp() override { dir = test::freshTestFolder("vk-sheets"); }
  void TearDown() override { fs::remove_all(dir); }

  // Analyses a copy of the test workbook; returns the exit status.
  int analyse(const std::string& name, fs::path* copy = nullptr) {
    const fs::path file = dir / name;
    fs::copy_file(fs::path(VK_SOURCE_DIR) / "tests/data/e2e" / name, file, fs::copy_options::overwrite_existing);
    if (copy) *copy = file;
    BatchOptions options;
    options.workbook = file.string();
    std::ostringstream out, errors;
    const int status = RunBatch(options, std::make_shared<XlsxEngine>(), out, errors);
    err = errors.str();
    return status;
  }

  // The batch tool refuses the workbook with `expected` in its message, and
  // the file stays byte for byte as it was.
  void expectRefusedUnchanged(const std::string& name, const std::string& expected) {
    SCOPED_TRACE(name);
    const std::string before = bytesOf(fs::path(VK_SOURCE_DIR) / "tests/data/e2e" / name);
    fs::path copy;
    EXPECT_EQ(analyse(name, &copy), 1);
    EXPECT_NE(err.find(expected), std::string::npos) << err;
    EXPECT_NE(err.find("Nothing was written."), std::string::npos) << err;
    EXPECT_TRUE(bytesOf(copy) == before);
  }
};

// 1. The sheets are the template's sheets.

TEST_F(SheetsAndInput, TabsReorderedInANamedWorkbookGiveTheSameAnalysisCellForCell) {
  fs::path inOrder, reordered;
  ASSERT_EQ(analyse("three-sets.xlsx", &inOrder), 0) << err;
  ASSERT_EQ(analyse("tabs-reordered.xlsx", &reordered), 0) << err;
  // Tabs of tabs-reordered.xlsx: Results, Test, Initial analysis.
  const int tabOf[] = {0, 2, 3, 1};
  for (int sheet = 1; sheet <= 3; ++sheet) {
    SCOPED_TRACE(sheet);
    const Cells expected = test::readStoredCells(inOrder.string(), sheet);
    EXPECT_GT(expected.size(), 20u);
    EXPECT_TRUE(sameCells(test::readStoredCells(reordered.string(), tabOf[sheet]), expected));
  }
  // Shown last: the results sheet, which is the first tab.
  EXPECT_NE(workbookPart(reordered).find("activeTab=\"0\""), std::string::npos);
}

TEST_F(SheetsAndInput, AWorkbookWithoutNamesIsTakenInTabOrder) {
  fs::path named, unnamed;
  ASSERT_EQ(analyse("three-sets.xlsx", &named), 0) << err;
  ASSERT_EQ(analyse("unnamed.xlsx", &unnamed), 0) << err;
  for (int sheet = 2; sheet <= 3; ++sheet)
    EXPECT_TRUE(sameCells(test::readStoredCells(unnamed.string(), sheet), test::readStoredCells(named.string(), sheet)))
        << sheet;
}

TEST_F(SheetsAndInput, SheetsThatCannotBeFoundAreRefusedAndTheFileStaysAsItWas) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"tabs-reordered-unnamed.xlsx", "sheet 1 (\"Results\") of the workbook "},
      {"broken-name.xlsx", "the defined name \"VK_Results\" of the workbook "},
      {"names-on-one-sheet.xlsx", "the defined names \"VK_Test\" and \"VK_Results\" of the workbook "},
  };
  for (const Case& k : cases) expectRefusedUnchanged(k.name, k.expected);
  analyse("tabs-reordered-unnamed.xlsx");
  EXPECT_NE(err.find("does not hold a test: its cell C7 (readings per data set) holds nothing"), std::string::npos)
      << err;
}

TEST_F(SheetsAndInput, HiddenSheetsAreAnalysedAndStayHidden) {
  fs::path visible, hidden;
  ASSERT_EQ(analyse("three-sets.xlsx", &visible), 0) << err;
  ASSERT_EQ(analyse("hidden-sheets.xlsx", &hidden), 0) << err;
  for (int sheet = 2; sheet <= 3; ++sheet)
    EXPECT_TRUE(
        sameCells(test::readStoredCells(hidden.string(), sheet), test::readStoredCells(visible.string(), sheet)))
        << sheet;
  const std::string part = workbookPart(hidden);
  EXPECT_NE(part.find("name=\"Initial analysis\" sheetId=\"2\" state=\"hidden\""), std::string::npos) << part;
  EXPECT_NE(part.find("name=\"Results\" sheetId=\"3\" state=\"hidden\""), std::string::npos) << part;
  EXPECT_EQ(part.find("activeTab"), std::string::npos) << part;  // still the test sheet
}

// 2. Input that cannot be a test: refused naming the cell, and the batch
// tool's analysis being one transaction, the file stays byte for byte as it
// was.

TEST_F(SheetsAndInput, OneWorkbookPerRuleIsRefusedNamingTheCell) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"blank-condition.xlsx", "sheet 1, cell C10 (barometric pressure) is blank"},
      {"blank-reading.xlsx", "sheet 1, cell H11 (reading 5 of data set 1) is blank"},
      {"logical-count.xlsx", "sheet 1, cell C8 (data sets) holds a logical value (TRUE or FALSE)"},
      {"date-times.xlsx",
       "sheet 1, cell G7 (time of reading 1) holds a date or time; enter the minutes since the start"},
      {"fractional-count.xlsx", "sheet 1, cell C8 (data sets) holds 2.5; it must be a whole number from 1 to 6."},
      {"too-many-readings.xlsx", "sheet 1, cell C7 (readings per data set) holds 32767;"},
      {"hot-water.xlsx", "sheet 1, cell C9 (water temperature) holds 60; it must be a number from 0 to 45"},
      {"pressure-in-mmhg.xlsx", "sheet 1, cell C10 (barometric pressure) holds 760;"},
      {"no-volume.xlsx", "sheet 1, cell C11 (tank volume) holds 0; it must be a number above 0"},
      {"negative-airflow.xlsx", "sheet 1, cell C12 (air flow) holds -50; it must be a number of 0 or more scfm."},
      {"reading-in-percent.xlsx", "sheet 1, cell H12 (reading 6 of data set 1) holds 150;"},
      {"repeated-time.xlsx", "sheet 1, cell G10 (time of reading 4) holds 2, not later than the time of reading 3"},
  };
  for (const Case& k : cases) expectRefusedUnchanged(k.name, k.expected);
}

}  // namespace
}  // namespace vk

#include "tests/support/XlsxCells.h"

#include <zip.h>

#include <algorithm>
#include <pugixml.hpp>
#include <stdexcept>

#include "workbook/A1.h"

namespace vk::test {

namespace {

std::string entry(zip_t* zip, const std::string& name) {
  zip_stat_t st;
  if (zip_stat(zip, name.c_str(), 0, &st) != 0) throw std::runtime_error("no entry " + name);
  zip_file_t* f = zip_fopen(zip, name.c_str(), 0);
  std::string bytes(st.size, '\0');
  zip_fread(f, bytes.data(), st.size);
  zip_fclose(f);
  return bytes;
}

std::string sheetPartName(zip_t* zip, int position) {
  pugi::xml_document workbook, rels;
  workbook.load_string(entry(zip, "xl/workbook.xml").c_str());
  rels.load_string(entry(zip, "xl/_rels/workbook.xml.rels").c_str());
  int index = 0;
  for (pugi::xml_node sheet : workbook.child("workbook").child("sheets").children("sheet")) {
    if (++index != position) continue;
    const std::string id = sheet.attribute("r:id").value();
    for (pugi::xml_node rel : rels.child("Relationships").children("Relationship"))
      if (id == rel.attribute("Id").value()) {
        std::string target = rel.attribute("Target").value();
        return target.rfind("/", 0) == 0 ? target.substr(1) : "xl/" + target;
      }
  }
  throw std::runtime_error("no sheet " + std::to_string(position));
}

}  // namespace

std::map<std::pair<int, int>, StoredCell> readStoredCells(const std::string& file, int position) {
  int error = 0;
  zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error);
  if (!zip) throw std::runtime_error("cannot open " + file);
  pugi::xml_document sheet;
  try {
    sheet.load_string(entry(zip, sheetPartName(zip, position)).c_str());
  } catch (...) {
    zip_close(zip);
    throw;
  }
  zip_close(zip);
  std::map<std::pair<int, int>, StoredCell> cells;
  for (pugi::xml_node row : sheet.child("worksheet").child("sheetData").children("row"))
    for (pugi::xml_node c : row.children("c")) {
      StoredCell cell{c.attribute("t").value(), c.child("v").text().get(), bool(c.child("f"))};
      if (cell.type == "inlineStr") cell.value = c.child("is").child("t").text().get();
      if (cell.value.empty() && !c.child("v")) continue;
      const CellRange at = parseA1(c.attribute("r").value());
      cells[{at.firstRow, at.firstColumn}] = cell;
    }
  return cells;
}

bool sameCells(const StoredCells& a, const StoredCells& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
           return x.first == y.first && x.second.type == y.second.type && x.second.value == y.second.value;
         });
}

}  // namespace vk::test

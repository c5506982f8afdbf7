#pragma once
// Workbook files for the tests of the embedded engine, made part by part so
// that each test holds exactly the XML it is about, and tools to look into
// the files the engine writes.

#include <zip.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace vk::xlsxtest {

using Parts = std::vector<std::pair<std::string, std::string>>;  // name, content; in zip order

// A worksheet part: the cells (the inside of sheetData), what stands before
// the cells (sheetViews, cols ...) and after them (mergeCells ...).
std::string sheetXml(const std::string& cells, const std::string& before = "", const std::string& after = "");

struct Book {
  std::vector<std::string> sheets = {sheetXml(""), sheetXml(""), sheetXml("")};  // worksheet parts
  std::string sharedStrings;                                                     // a whole part, or none
  std::string calcChain;                                                         // a whole part, or none
  std::string bookViews;                                                         // an element before <sheets>
  std::vector<int> hiddenSheets;                                                 // by position, from 1
  std::string definedNames;  // a whole <definedNames> element, or none
  std::string styles;        // a whole styles part in place of the usual one
  Parts extraParts;          // added as they are, unlisted
  Parts build() const;
};

// A workbook laid out like the template, holding the results of an earlier
// analysis: headings as shared strings, numbers in every area the commands
// write or clear, formulas over them, a calculation chain, and parts the
// engine must copy untouched (a theme, an image stored uncompressed).
struct TemplateBook {
  Book book;
  std::map<std::tuple<int, int, int>, double> numbers;  // (sheet, row, column) -> value
};
TemplateBook templateLikeBook(int pointRows = 300);

// The bytes of an archive that libzip makes in memory, its entries added by `fill`.
std::string zipMadeBy(const std::function<void(zip_t*)>& fill);
// Entries named *.png or *.bin are stored uncompressed, the rest deflated.
std::string zipBytes(const Parts& parts);
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

struct Entry {
  std::string name;
  std::string data;  // inflated
  std::string raw;   // as stored
  int method = 0;
  std::uint32_t crc = 0;
  std::time_t mtime = 0;
};
std::vector<Entry> readZip(const std::string& bytes);
const Entry* findEntry(const std::vector<Entry>& entries, const std::string& name);
// Whether the archive has any Zip64 record (end-of-directory or extra field).
bool hasZip64Records(const std::string& bytes);

// A fresh folder, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace vk::xlsxtest

#pragma once
// A workbook file held in memory and edited there: the operations the
// commands need, on the bytes of an .xlsx/.xlsm file, and the bytes of the
// file with the edits. Parts are read when first needed; only the parts that
// changed are rebuilt.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "module1/Variant.h"
#include "workbook/A1.h"
#include "workbook/CellKind.h"
#include "workbook/DefinedName.h"
#include "workbook/SheetTab.h"
#include "workbook/xlsx/package/Limits.h"
#include "workbook/xlsx/package/Opc.h"
#include "workbook/xlsx/sheet/NumberFormats.h"
#include "workbook/xlsx/sheet/SharedStrings.h"

namespace vk::xlsx {

struct CellContent;
class Worksheet;
class WorkbookPart;
class ZipReader;

class XlsxDocument {
 public:
  // Faults when the bytes are not a workbook with at least three sheets.
  // `label` names the file in faults.
  XlsxDocument(std::string bytes, std::string label, const Limits& limits = {});
  ~XlsxDocument();
  XlsxDocument(const XlsxDocument&) = delete;
  XlsxDocument& operator=(const XlsxDocument&) = delete;

  int sheetCount() const { return int(sheets_.size()); }
  double readNumber(int sheet, int row, int column);
  CellKind cellKind(int sheet, int row, int column);
  std::vector<SheetTab> sheets() const;
  std::optional<DefinedName> definedName(std::string_view name) const;
  void write(int sheet, int row, int column, const Variant& value);
  void clearContents(int sheet, const CellRange& range);
  void select(int sheet, int row, int column);
  // A hidden sheet is left hidden and the active tab as it was.
  void show(int sheet);
  // Makes every formula that may depend on written cells recalculate when
  // the workbook is next opened; writing cells asks for the same.
  void requestRecalculation();

  // Whether the file would change; applies a pending recalculation first.
  bool changed();
  // Writes the file with every edit; the untouched entries are copied as stored.
  void render(const std::function<void(std::uint64_t offset, std::string_view bytes)>& out);
  // The same, as bytes.
  std::string render();
  // The file as it was read, without the edits.
  const std::string& fileBytes() const { return bytes_; }

 private:
  struct Sheet;
  void load();
  Sheet& sheet(int index);
  Worksheet& worksheet(int index);
  const SharedStrings& sharedStrings();
  const NumberFormats& numberFormats();
  double numberOf(int sheet, int row, int column, const CellContent& content);
  CellKind kindOf(std::string_view type, std::uint32_t style, bool hasValue, bool hasFormula);
  void applyRecalculation();
  void checkCell(int sheet, int row, int column) const;

  std::string bytes_;
  std::string label_;
  Limits limits_;
  std::unique_ptr<ZipReader> zip_;
  ContentTypes contentTypes_;
  bool contentTypesChanged_ = false;
  std::string workbookPartName_;
  std::unique_ptr<WorkbookPart> workbook_;
  Relationships workbookRelationships_;
  bool relationshipsChanged_ = false;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  std::optional<SharedStrings> sharedStrings_;
  std::optional<NumberFormats> numberFormats_;
  std::set<int> writtenSheets_;
  bool recalculate_ = false;
  std::set<std::string> removedParts_;
};

}  // namespace vk::xlsx

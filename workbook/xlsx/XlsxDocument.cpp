#include "workbook/xlsx/XlsxDocument.h"

#include <charconv>
#include <cmath>
#include <map>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/CellText.h"
#include "workbook/xlsx/package/Zip.h"
#include "workbook/xlsx/sheet/CellContent.h"
#include "workbook/xlsx/sheet/DateSerial.h"
#include "workbook/xlsx/sheet/Recalculation.h"
#include "workbook/xlsx/sheet/SheetReference.h"
#include "workbook/xlsx/sheet/SheetViews.h"
#include "workbook/xlsx/sheet/WorkbookPart.h"
#include "workbook/xlsx/sheet/Worksheet.h"
#include "workbook/xlsx/xml/Dom.h"

namespace vk::xlsx {

struct XlsxDocument::Sheet {
  SheetListing listing;
  std::string part;
  std::string kind;  // worksheet, chartsheet, dialogsheet, macrosheet
  std::unique_ptr<Worksheet> worksheet;
  // Any other kind of sheet is only touched for its tab selection.
  std::unique_ptr<pugi::xml_document> tree;
  bool treeChanged = false;
};

namespace {

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool isWorkbookType(std::string_view type) {
  return contains(type, "spreadsheetml.sheet.main+xml") || contains(type, "spreadsheetml.template.main+xml") ||
         contains(type, "ms-excel.sheet.macroEnabled.main+xml") ||
         contains(type, "ms-excel.template.macroEnabled.main+xml");
}

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }
bool holdsValue(const PlainCell& cell) { return cell.hasValue && !isBlank(cell.value); }

std::string describeKind(std::string_view kind) {
  if (kind == "chartsheet") return "a chart sheet";
  if (kind == "dialogsheet") return "a dialog sheet";
  if (kind == "macrosheet") return "a macro sheet";
  return "not a worksheet";
}

}  // namespace

XlsxDocument::XlsxDocument(std::string bytes, std::string label, const Limits& limits)
    : bytes_(std::move(bytes)), label_(std::move(label)), limits_(limits) {
  load();
}

XlsxDocument::~XlsxDocument() = default;

void XlsxDocument::load() {
  auto where = [&](std::string_view part) { return "the part " + std::string(part) + " of " + label_; };
  auto notWorkbook = [&](const std::string& why) {
    return Fault(FaultKind::Workbook, label_ + " is not an .xlsx or .xlsm workbook: " + why);
  };
  zip_ = std::make_unique<ZipReader>(bytes_, label_, limits_);
  if (!zip_->find("[Content_Types].xml")) {
    if (auto mime = zip_->find("mimetype"); mime && contains(zip_->read(*mime), "opendocument"))
      throw notWorkbook("it is an OpenDocument file; save it in the .xlsx format first");
    throw notWorkbook("it is a zip archive of something else");
  }
  contentTypes_ = ContentTypes(zip_->read("[Content_Types].xml"), where("[Content_Types].xml"), limits_);
  if (!zip_->find("_rels/.rels")) throw notWorkbook("it has no package relationships");
  Relationships package(zip_->read("_rels/.rels"), "", where("_rels/.rels"), limits_);
  const Relationship* main = package.firstOfKind("officeDocument");
  if (!main || main->target.empty() || !zip_->find(main->target)) throw notWorkbook("it has no main document");
  workbookPartName_ = main->target;
  std::string type = contentTypes_.typeOf(workbookPartName_);
  if (!isWorkbookType(type)) {
    if (contains(type, "binary")) throw notWorkbook("it is a binary workbook (.xlsb); save it as .xlsx first");
    if (contains(type, "presentationml")) throw notWorkbook("it is a presentation");
    if (contains(type, "wordprocessingml")) throw notWorkbook("it is a text document");
    throw notWorkbook("its main document is of the type \"" + type + "\"");
  }
  workbook_ = std::make_unique<WorkbookPart>(zip_->read(workbookPartName_), where(workbookPartName_), limits_);
  std::string relsName = relationshipPartOf(workbookPartName_);
  if (zip_->find(relsName))
    workbookRelationships_ = Relationships(zip_->read(relsName), workbookPartName_, where(relsName), limits_);

  for (const SheetListing& listing : workbook_->sheets()) {
    const Relationship* rel = workbookRelationships_.byId(listing.relationshipId);
    if (!rel || rel->target.empty())
      throw Fault(FaultKind::Workbook, label_ + " is damaged: the sheet \"" + listing.name + "\" has no part");
    auto sheet = std::make_unique<Sheet>();
    sheet->listing = listing;
    sheet->part = rel->target;
    sheet->kind = rel->kind;
    sheets_.push_back(std::move(sheet));
  }
  if (sheets_.size() < 3)
    throw Fault(FaultKind::Workbook, label_ + " has " + std::to_string(sheets_.size()) +
                                         (sheets_.size() == 1 ? " sheet" : " sheets") +
                                         "; the analysis needs a workbook with at least three");
  // Which sheets the analysis uses is found from the defined names or the
  // tab order (workbook/TemplateSheets.h); a worksheet without its part is
  // damage whichever it is.
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    const Sheet& s = *sheets_[i];
    if (s.kind == "worksheet" && !zip_->find(s.part))
      throw Fault(FaultKind::Workbook,
                  label_ + " is damaged: the part " + s.part + " of sheet " + std::to_string(i + 1) + " is missing");
  }
}

XlsxDocument::Sheet& XlsxDocument::sheet(int index) {
  if (index < 1 || index > sheetCount())
    throw Fault(FaultKind::SubscriptOutOfRange, "the workbook " + label_ + " has no sheet " + std::to_string(index) +
                                                    " (it has " + std::to_string(sheetCount()) + ")");
  return *sheets_[std::size_t(index - 1)];
}

Worksheet& XlsxDocument::worksheet(int index) {
  Sheet& s = sheet(index);
  if (s.kind != "worksheet")
    throw Fault(FaultKind::Workbook, "sheet " + std::to_string(index) + " of " + label_ + " is " +
                                         describeKind(s.kind) + " and has no cells");
  if (!s.worksheet)
    s.worksheet = std::make_unique<Worksheet>(zip_->read(s.part), "the part " + s.part + " of " + label_, limits_);
  return *s.worksheet;
}

const SharedStrings& XlsxDocument::sharedStrings() {
  if (!sharedStrings_) {
    const Relationship* rel = workbookRelationships_.firstOfKind("sharedStrings");
    if (rel && !rel->target.empty() && zip_->find(rel->target))
      sharedStrings_.emplace(zip_->read(rel->target), "the part " + rel->target + " of " + label_, limits_);
    else
      sharedStrings_.emplace();
  }
  return *sharedStrings_;
}

void XlsxDocument::checkCell(int sheetIndex, int row, int column) const {
  if (sheetIndex < 1 || sheetIndex > sheetCount())
    throw Fault(FaultKind::SubscriptOutOfRange, "the workbook " + label_ + " has no sheet " +
                                                    std::to_string(sheetIndex) + " (it has " +
                                                    std::to_string(sheetCount()) + ")");
  if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
    throw Fault(FaultKind::SubscriptOutOfRange, "there is no cell at row " + std::to_string(row) + ", column " +
                                                    std::to_string(column) + " of sheet " + std::to_string(sheetIndex));
}

const NumberFormats& XlsxDocument::numberFormats() {
  if (!numberFormats_) {
    const Relationship* rel = workbookRelationships_.firstOfKind("styles");
    if (rel && !rel->target.empty() && zip_->find(rel->target))
      numberFormats_.emplace(zip_->read(rel->target), "the part " + rel->target + " of " + label_, limits_);
    else
      numberFormats_.emplace();
  }
  return *numberFormats_;
}

std::vector<SheetTab> XlsxDocument::sheets() const {
  std::vector<SheetTab> tabs;
  for (const auto& s : sheets_)
    tabs.push_back(
        {s->listing.name, s->kind == "worksheet" ? std::string() : describeKind(s->kind), s->listing.hidden});
  return tabs;
}

std::optional<DefinedName> XlsxDocument::definedName(std::string_view name) const {
  std::optional<std::string> text = workbook_->workbookDefinedName(name);
  if (!text) return std::nullopt;
  DefinedName defined;
  defined.refersTo = *text;
  if (auto reference = parseSheetReference(*text)) {
    for (std::size_t i = 0; i < sheets_.size(); ++i)
      if (equalIgnoringAsciiCase(sheets_[i]->listing.name, reference->sheetName)) {
        defined.sheet = int(i) + 1;
        defined.range = reference->range;
        break;
      }
  }
  return defined;
}

CellKind XlsxDocument::cellKind(int sheetIndex, int row, int column) {
  checkCell(sheetIndex, row, column);
  const SheetCells& cells = worksheet(sheetIndex).cells();
  const SheetCells::Cell* cell = cells.find(row, column);
  if (!cell) return CellKind::Empty;
  switch (cell->state) {
    case SheetCells::State::Number: return CellKind::Number;
    case SheetCells::State::Blank: return CellKind::Empty;
    case SheetCells::State::Stale:
    case SheetCells::State::Original: break;
  }
  if (auto plain = cells.plain(*cell)) return kindOf(plain->type, plain->style, holdsValue(*plain), false);
  const CellContent content = cells.content(*cell);
  return kindOf(content.type, content.style, content.hasValue && !isBlank(content.value), content.hasFormula);
}

CellKind XlsxDocument::kindOf(std::string_view type, std::uint32_t style, bool hasValue, bool hasFormula) {
  if (type == "b") return CellKind::Boolean;
  if (type == "e") return CellKind::Error;
  if (type == "s" || type == "str" || type == "inlineStr") return CellKind::Text;
  if (type == "d") return CellKind::DateTime;
  // A number; a formula whose result is not stored is counted as one, and
  // reading it says what to do.
  if (!hasValue && !hasFormula) return CellKind::Empty;
  return numberFormats().isDateTime(style) ? CellKind::DateTime : CellKind::Number;
}

double XlsxDocument::readNumber(int sheetIndex, int row, int column) {
  checkCell(sheetIndex, row, column);
  const SheetCells& cells = worksheet(sheetIndex).cells();
  const SheetCells::Cell* cell = cells.find(row, column);
  if (!cell) return 0.0;
  switch (cell->state) {
    case SheetCells::State::Number: return cell->number;
    case SheetCells::State::Blank: return 0.0;
    case SheetCells::State::Stale:
    case SheetCells::State::Original: break;
  }
  // Most cells hold a number and nothing else: read where they stand.
  if (auto plain = cells.plain(*cell); plain && plain->type == "n")
    return holdsValue(*plain) ? numberFromText(plain->value, sheetIndex, row, column) : 0.0;
  CellContent content = cells.content(*cell);
  if (cell->state == SheetCells::State::Stale) content.hasValue = false;
  return numberOf(sheetIndex, row, column, content);
}

double XlsxDocument::numberOf(int sheetIndex, int row, int column, const CellContent& content) {
  const std::string& type = content.type;
  if (content.hasFormula && !content.hasValue)
    throw Fault(FaultKind::Workbook,
                cellName(sheetIndex, row, column) +
                    " holds a formula whose result is not stored in the file; open the workbook in a spreadsheet "
                    "program, let it calculate, save it and run the command again");
  if (type == "n") {
    if (!content.hasValue || isBlank(content.value)) return 0.0;
    return numberFromText(content.value, sheetIndex, row, column);
  }
  if (type == "s") {
    std::size_t index = 0;
    const std::string& v = content.value;
    auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), index);
    const SharedStrings& strings = sharedStrings();
    if (ec != std::errc() || end != v.data() + v.size() || index >= strings.size())
      throw Fault(FaultKind::Workbook, label_ + " is damaged: " + cellName(sheetIndex, row, column) +
                                           " refers to a shared string (\"" + v.substr(0, 20) +
                                           "\") that the workbook does not have");
    return numberFromText(strings.text(index), sheetIndex, row, column);
  }
  if (type == "inlineStr")
    return numberFromText(content.hasInlineString ? content.inlineString : content.value, sheetIndex, row, column);
  if (type == "str") return numberFromText(content.value, sheetIndex, row, column);
  if (type == "b") {
    if (isTrueValue(content.value)) return 1.0;
    if (content.value == "0" || content.value == "false") return 0.0;
    return numberFromText(content.value, sheetIndex, row, column);
  }
  if (type == "e")
    throw Fault(FaultKind::TypeMismatch, cellName(sheetIndex, row, column) + " holds the error value " +
                                             content.value.substr(0, 20) + ", not a number");
  if (type == "d") {
    if (auto serial = serialFromIsoDate(content.value, workbook_->uses1904Dates())) return *serial;
    return numberFromText(content.value, sheetIndex, row, column);
  }
  throw Fault(FaultKind::Workbook, label_ + " is damaged: " + cellName(sheetIndex, row, column) +
                                       " has the unknown type \"" + type.substr(0, 20) + "\"");
}

void XlsxDocument::write(int sheetIndex, int row, int column, const Variant& value) {
  checkCell(sheetIndex, row, column);
  Worksheet& ws = worksheet(sheetIndex);
  bool changed;
  if (value.isEmpty()) {
    changed = ws.clear(CellRange{row, column, row, column});
  } else {
    double number = value.asDouble();
    if (!std::isfinite(number))
      throw Fault(FaultKind::Overflow, cellName(sheetIndex, row, column) + " cannot hold a value that is not finite");
    changed = ws.setNumber(row, column, number);
  }
  if (changed) {
    writtenSheets_.insert(sheetIndex);
    recalculate_ = true;
  }
}

void XlsxDocument::clearContents(int sheetIndex, const CellRange& range) {
  checkCell(sheetIndex, range.firstRow, range.firstColumn);
  checkCell(sheetIndex, range.lastRow, range.lastColumn);
  if (worksheet(sheetIndex).clear(range)) {
    writtenSheets_.insert(sheetIndex);
    recalculate_ = true;
  }
}

void XlsxDocument::select(int sheetIndex, int row, int column) {
  checkCell(sheetIndex, row, column);
  worksheet(sheetIndex).select(row, column);
}

void XlsxDocument::show(int sheetIndex) {
  // A hidden sheet cannot be the active tab; showing it must not make it visible.
  if (sheet(sheetIndex).listing.hidden) return;
  workbook_->setActiveTab(sheetIndex - 1);
  for (int i = 1; i <= sheetCount(); ++i) {
    Sheet& s = sheet(i);
    if (!s.worksheet && !s.tree && !zip_->find(s.part)) continue;  // nothing to mark
    if (s.kind == "worksheet") {
      worksheet(i).setTabSelected(i == sheetIndex);
      continue;
    }
    if (!s.tree) {
      s.tree = std::make_unique<pugi::xml_document>();
      parseTree(*s.tree, zip_->read(s.part), "the part " + s.part + " of " + label_, limits_.maxTreeSize);
    }
    s.treeChanged |= setTabSelected(s.tree->document_element(), i == sheetIndex);
  }
}

void XlsxDocument::requestRecalculation() { recalculate_ = true; }

void XlsxDocument::applyRecalculation() {
  recalculate_ = false;
  workbook_->setFullCalcOnLoad();
  const std::vector<std::string> names = workbook_->definedNames();
  for (int i = 1; i <= sheetCount(); ++i) {
    if (sheet(i).kind != "worksheet" || !zip_->find(sheet(i).part)) continue;
    Worksheet& ws = worksheet(i);
    if (writtenSheets_.count(i)) {
      ws.stripResults([](int, int, const CellContent&) { return true; });
      continue;
    }
    // Shared formulas keep their text in the first cell only.
    std::map<std::string, std::string> sharedText;
    ws.cells().forEachFormula([&](int, int, const CellContent& c) {
      if (c.formulaType == "shared" && !c.formula.empty()) sharedText.emplace(c.sharedIndex, c.formula);
    });
    ws.stripResults([&](int, int, const CellContent& c) {
      if (c.formulaType == "dataTable") return true;
      std::string_view text = c.formula;
      if (text.empty() && c.formulaType == "shared") {
        auto it = sharedText.find(c.sharedIndex);
        if (it == sharedText.end()) return true;
        text = it->second;
      }
      return mayReferElsewhere(text, names);
    });
  }
  // The calculation chain lists the formula cells; written cells may no
  // longer be among them, which Excel reports as damage. It rebuilds it.
  if (const Relationship* chain = workbookRelationships_.firstOfKind("calcChain")) {
    std::string part = chain->target;
    if (!part.empty()) {
      removedParts_.insert(part);
      contentTypesChanged_ |= contentTypes_.removeOverride(part);
    }
    relationshipsChanged_ |= workbookRelationships_.removeKind("calcChain");
  }
}

bool XlsxDocument::changed() {
  if (recalculate_) applyRecalculation();
  if (workbook_->changed() || relationshipsChanged_ || contentTypesChanged_ || !removedParts_.empty()) return true;
  for (const auto& s : sheets_)
    if ((s->worksheet && s->worksheet->changed()) || s->treeChanged) return true;
  return false;
}

void XlsxDocument::render(const WriteAt& out) {
  if (recalculate_) applyRecalculation();
  ZipChanges changes;
  auto entry = [&](const std::string& part) {
    auto e = zip_->find(part);
    if (!e) throw Fault(FaultKind::Workbook, label_ + " is damaged: the part " + part + " is missing");
    return *e;
  };
  auto text = [](std::string xml) { return [xml = std::move(xml)](PartDeflater& to) { to.append(xml); }; };
  for (const auto& s : sheets_) {
    if (s->worksheet && s->worksheet->changed())
      changes.replaced[entry(s->part)] = [&worksheet = *s->worksheet](PartDeflater& to) { worksheet.write(to); };
    if (s->tree && s->treeChanged) changes.replaced[entry(s->part)] = text(treeText(*s->tree));
  }
  if (workbook_->changed()) changes.replaced[entry(workbookPartName_)] = text(workbook_->xml());
  if (relationshipsChanged_)
    changes.replaced[entry(relationshipPartOf(workbookPartName_))] = text(workbookRelationships_.xml());
  if (contentTypesChanged_) changes.replaced[entry("[Content_Types].xml")] = text(contentTypes_.xml());
  for (const std::string& part : removedParts_)
    if (auto e = zip_->find(part)) changes.removed.insert(*e);
  writeZip(*zip_, changes, out, label_);
}

std::string XlsxDocument::render() {
  std::string bytes;
  render([&](std::uint64_t offset, std::string_view part) {
    if (bytes.size() < offset + part.size()) bytes.resize(std::size_t(offset + part.size()));
    bytes.replace(std::size_t(offset), part.size(), part);
  });
  return bytes;
}

}  // namespace vk::xlsx

#include "workbook/TemplateBook.h"

#include <algorithm>

#include "workbook/TemplateSheets.h"

namespace vk {

TemplateBook::TemplateBook(std::shared_ptr<Workbook> tabs) : tabs_(std::move(tabs)) {}

void TemplateBook::findSheets() {
  if (!tabOfSheet_.empty()) return;
  const TemplateTabs found = findTemplateSheets(*tabs_, tabs_->path());
  std::vector<int> order(found.tabs.begin(), found.tabs.end());
  for (int tab = 1; tab <= found.sheetCount; ++tab)
    if (std::find(found.tabs.begin(), found.tabs.end(), tab) == found.tabs.end()) order.push_back(tab);
  tabOfSheet_ = std::move(order);
}

int TemplateBook::tab(int sheet) {
  findSheets();
  // A sheet the workbook does not have is left for the engine to refuse.
  return sheet >= 1 && sheet <= int(tabOfSheet_.size()) ? tabOfSheet_[std::size_t(sheet - 1)] : sheet;
}

double TemplateBook::readNumber(int sheet, int row, int column) { return tabs_->readNumber(tab(sheet), row, column); }

CellKind TemplateBook::cellKind(int sheet, int row, int column) { return tabs_->cellKind(tab(sheet), row, column); }

std::vector<SheetTab> TemplateBook::sheets() {
  findSheets();
  const std::vector<SheetTab> inTabOrder = tabs_->sheets();
  std::vector<SheetTab> ordered;
  for (int tab : tabOfSheet_)
    if (tab <= int(inTabOrder.size())) ordered.push_back(inTabOrder[std::size_t(tab - 1)]);
  return ordered;
}

std::optional<DefinedName> TemplateBook::definedName(std::string_view name) {
  findSheets();
  std::optional<DefinedName> defined = tabs_->definedName(name);
  if (defined && defined->refersToCells()) {
    auto at = std::find(tabOfSheet_.begin(), tabOfSheet_.end(), defined->sheet);
    defined->sheet = at == tabOfSheet_.end() ? 0 : int(at - tabOfSheet_.begin()) + 1;
  }
  return defined;
}

void TemplateBook::write(int sheet, int row, int column, const Variant& value) {
  tabs_->write(tab(sheet), row, column, value);
}

void TemplateBook::clearContents(int sheet, std::string_view range) { tabs_->clearContents(tab(sheet), range); }

void TemplateBook::select(int sheet, std::string_view cell) { tabs_->select(tab(sheet), cell); }

void TemplateBook::show(int sheet) { tabs_->show(tab(sheet)); }

void TemplateBook::runMacro(std::string_view name) { tabs_->runMacro(name); }

void TemplateBook::commit() {
  tabOfSheet_.clear();  // the next command looks again, also after a failed commit
  tabs_->commit();
}

void TemplateBook::discard() {
  tabOfSheet_.clear();
  tabs_->discard();
}

}  // namespace vk

#pragma once
// The workbook as the commands see it: sheet 1 is the test, 2 the initial
// analysis, 3 the results, wherever their tabs stand (TemplateSheets.h); the
// other sheets follow in tab order. The engine's workbook underneath counts
// sheets by tab.
//
// The sheets are found again at the start of every command, since the user
// may move tabs between commands, and kept until its commit.

#include <memory>
#include <vector>

#include "workbook/Workbook.h"

namespace vk {

class TemplateBook : public Workbook {
 public:
  explicit TemplateBook(std::shared_ptr<Workbook> tabs);

  // The engine's workbook, its sheets in tab order.
  const std::shared_ptr<Workbook>& tabs() const { return tabs_; }
  // Finds the template's sheets, unless this command already has; faults as
  // findTemplateSheets() does.
  void findSheets();

  double readNumber(int sheet, int row, int column) override;
  CellKind cellKind(int sheet, int row, int column) override;
  std::vector<SheetTab> sheets() override;
  std::optional<DefinedName> definedName(std::string_view name) override;
  void write(int sheet, int row, int column, const Variant& value) override;
  void clearContents(int sheet, std::string_view range) override;
  void select(int sheet, std::string_view cell) override;
  void show(int sheet) override;
  void runMacro(std::string_view name) override;
  void commit() override;
  void discard() override;
  bool stillOpen() override { return tabs_->stillOpen(); }
  bool unsavedChanges() override { return tabs_->unsavedChanges(); }
  void save() override { tabs_->save(); }
  const std::string& path() const override { return tabs_->path(); }

 private:
  int tab(int sheet);

  std::shared_ptr<Workbook> tabs_;
  std::vector<int> tabOfSheet_;  // [sheet - 1]; empty until found in this command
};

}  // namespace vk

#pragma once
// One workbook open in LibreOffice Calc, behind the Workbook interface.

#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "workbook/Workbook.h"
#include "workbook/uno/CellKinds.h"
#include "workbook/uno/CellValues.h"
#include "workbook/uno/DocumentStore.h"
#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeConnection.h"
#include "workbook/uno/OfficeFault.h"
#include "workbook/uno/WriteBuffer.h"

namespace vk {

class CalcWorkbook : public Workbook {
 public:
  // `store`: where commit() stores the document (the batch tool's one
  // transaction); nothing: commit() only flushes, the user stores.
  CalcWorkbook(std::shared_ptr<OfficeConnection> office, css::uno::Reference<css::frame::XModel> document,
               rtl::OUString url, std::string path, const LibreOfficeOptions& options,
               std::optional<StoreTarget> store = std::nullopt);
  // Writes what is still waiting (best effort) and lets go of the document,
  // which stays open. Nothing LibreOffice throws leaves it.
  ~CalcWorkbook() override;

  double readNumber(int sheet, int row, int column) override;
  CellKind cellKind(int sheet, int row, int column) override;
  std::vector<SheetTab> sheets() override;
  std::optional<DefinedName> definedName(std::string_view name) override;
  void write(int sheet, int row, int column, const Variant& value) override;
  void clearContents(int sheet, std::string_view range) override;
  void select(int sheet, std::string_view cell) override;
  // Leaves a hidden sheet hidden and the active sheet as it was.
  void show(int sheet) override;
  // Flushes, then runs the document's own Sub of that name; "Redraw" falls
  // back to recalculating and redrawing the charts when there is none.
  void runMacro(std::string_view name) override;
  // Flushes every sheet's waiting writes, then stores the document when it
  // has a store target. A document that went away before all the command
  // wrote reached it is a fault: its results were not delivered.
  void commit() override;
  // Drops the waiting writes; what reached the document stays there, and
  // nothing is stored.
  void discard() override;
  bool stillOpen() override { return alive(); }
  // Whether the document is modified, and the analysis wrote into it.
  bool unsavedChanges() override;
  // Stores the document into its own file with its own filter.
  void save() override;
  const std::string& path() const override { return path_; }

  // Whether the document is still open in LibreOffice under the URL it was bound by.
  bool alive() const;
  // Whether a command is using it: an operation since the last commit or discard.
  bool inCommand() const { return inCommand_; }
  // The document went away while a command was using it: drops what is
  // waiting, so that the command's end has nothing left to deliver, and
  // throws the fault that says what was lost.
  [[noreturn]] void lostInCommand();
  // The connection it was bound over is lost: lets go of LibreOffice's
  // objects. While this program holds a stand-in of one, a new connection to
  // the same LibreOffice would be handed that stand-in again, dead; so a new
  // connection is made only after every workbook of the old one let go.
  void letGo();
  const css::uno::Reference<css::frame::XModel>& document() const { return document_; }

 private:
  // The document; a fault once let go of.
  const css::uno::Reference<css::frame::XModel>& doc() const;
  // officeCall() on this document: whatever LibreOffice throws once the
  // document has gone is told as its being gone, not in LibreOffice's terms.
  template <class Call, class Doing>
  auto onDocument(Doing&& doing, Call&& call) -> decltype(call()) {
    try {
      return call();
    } catch (const css::lang::DisposedException& error) {
      officeFault(doing(), error, true);
    } catch (const css::uno::Exception& error) {
      const bool gone = !alive();
      officeFault(doing(), error, gone);
    }
  }
  css::uno::Reference<css::sheet::XSpreadsheet> sheet(int index);
  void flush(int sheet);
  void flushAll();
  void writeBlock(int sheet, const WriteBlock& block);
  void writeCell(int sheet, int row, int column, const Variant& value);
  // Every operation starts or continues a command; a write also changes the document.
  void begin() { inCommand_ = true; }
  void changing();
  void endCommand();
  void dropCommand();

  std::shared_ptr<OfficeConnection> office_;  // keeps the connection while the document is held
  css::uno::Reference<css::frame::XModel> document_;
  rtl::OUString url_;
  std::string path_;
  bool hidden_;
  bool buffered_;
  std::optional<StoreTarget> store_;
  std::map<int, WriteBuffer> pending_;  // by sheet
  // Sheets looked up during the current command; the user may add or move
  // sheets between commands.
  std::map<int, css::uno::Reference<css::sheet::XSpreadsheet>> sheets_;
  std::optional<CellKinds> kinds_;  // made when first needed in a command
  CellValues values_;               // read in blocks, forgotten at every write
  bool inCommand_ = false;
  bool wroteInCommand_ = false;  // the command has something to deliver
  bool wroteHere_ = false;       // the analysis changed the document
};

}  // namespace vk

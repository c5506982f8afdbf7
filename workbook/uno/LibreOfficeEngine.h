#pragma once
// The live engine: workbooks open in LibreOffice Calc, driven over UNO. The
// user watches the results arrive and decides whether to save; this engine
// never saves or closes a document and never ends a LibreOffice it did not
// start. Writes of a command are buffered per sheet and reach the document
// as block writes at commit(), before any read of their sheet, and before a
// macro runs.

#include <memory>
#include <string>
#include <vector>

#include "workbook/Workbook.h"

namespace vk {

struct LibreOfficeOptions {
  // The installation's program folder (soffice, fundamentalrc).
  std::string programDir = defaultProgramDir();
  // The named pipe LibreOffice listens on for this program.
  std::string pipeName = "velm_kalix";
  // Start soffice when nothing listens on the pipe yet.
  bool startOffice = true;
  // Extra arguments for a soffice started here (a private profile, --headless).
  std::vector<std::string> officeArguments;
  // How long to wait for a LibreOffice to answer on the pipe.
  int connectTimeoutSeconds = 60;
  // Load documents hidden and let show() only activate the sheet: the -nogui
  // build of LibreOffice aborts whenever a window would be shown.
  bool loadHidden = false;
  // false: every write is its own call into LibreOffice (for comparisons).
  bool bufferWrites = true;

  static std::string defaultProgramDir();
};

// Whether LibreOffice with Calc and a desktop (windowing) build is installed
// in the program folder, so that the user can see the workbook.
bool libreOfficeDesktopInstalled(const std::string& programDir = LibreOfficeOptions::defaultProgramDir());

class LibreOfficeEngine : public WorkbookEngine {
 public:
  // Connects lazily: at the first bind().
  explicit LibreOfficeEngine(LibreOfficeOptions options = {});
  ~LibreOfficeEngine() override;

  // The document with this file's URL when LibreOffice already has it open
  // (used as it is and left open); otherwise the file loaded, with its macros
  // allowed to run. The same path gives the same workbook while it is held.
  std::shared_ptr<Workbook> bind(const std::string& path) override;
  std::string name() const override { return "LibreOffice"; }
  // Calc also opens the older binary format and its own.
  std::vector<std::string> extensions() const override { return {"xls", "xlsx", "xlsm", "ods"}; }

  // For the batch tool, where nobody is there to save: stores the workbook's
  // document into a file in the format of that file's extension.
  void storeAs(Workbook& book, const std::string& path);
  // For the batch tool: closes the documents this engine loaded itself;
  // documents that were open before stay open.
  void closeDocumentsLoadedHere();
  // For the batch tool at its end: stores the document bound by this path,
  // if one was, into that file in its own format; closes the documents this
  // engine loaded; ends the LibreOffice it started, when nothing else is open
  // in it. The closing and ending happen also when the store fails.
  void finishUnattended(const std::string& path);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vk

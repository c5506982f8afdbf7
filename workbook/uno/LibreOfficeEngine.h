#pragma once
// The live engine: workbooks open in LibreOffice Calc, driven over UNO. The
// user watches the results arrive and decides whether to save; this engine
// never saves or closes a document and never ends a LibreOffice it did not
// start. Writes of a command are buffered per sheet and reach the document
// as block writes at commit(), before any read of their sheet, and before a
// macro runs. For the batch tool (`asTransaction`) a commit stores the
// document into its file, and nothing is stored without one.
//
// The engine is a module loaded at run time (velm-kalix-libreoffice.so), so
// that a program on the embedded engine maps none of LibreOffice's
// libraries: the programs make it with loadLibreOfficeEngine() or
// libreOfficeEngineOnDemand(). The options, libreOfficeDesktopInstalled()
// and the watchdog are outside the module.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workbook/Workbook.h"

namespace vk {

class OfficeWatchdog;

struct LibreOfficeOptions {
  // The installation's program folder (soffice, fundamentalrc).
  std::string programDir = defaultProgramDir();
  // The named pipe LibreOffice listens on for this program.
  std::string pipeName = "velm_kalix";
  // Start soffice when nothing listens on the pipe yet.
  bool startOffice = true;
  // Extra arguments for a soffice started here (--headless).
  std::vector<std::string> officeArguments;
  // The folder of a private profile for a soffice started here; empty: the user's.
  std::string profileFolder;
  // How long to wait for a LibreOffice to answer on the pipe.
  int connectTimeoutSeconds = 60;
  // Load documents hidden and let show() only activate the sheet: the -nogui
  // build of LibreOffice aborts whenever a window would be shown.
  bool loadHidden = false;
  // false: every write and every read is its own call into LibreOffice (for
  // comparisons).
  bool bufferWrites = true;
  // The batch tool's one transaction: a document already open in the office
  // is refused (its unsaved state is the user's), commit() stores the
  // document into its file (DocumentStore.h) and discard() stores nothing.
  bool asTransaction = false;
  // Ends a LibreOffice started here when this program ends, also when it is
  // killed (OfficeWatchdog.h).
  std::shared_ptr<OfficeWatchdog> watchdog;

  // The folder of the soffice found on PATH, else the one this program was
  // built against.
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
  // (used as it is and left open; refused as a transaction); otherwise the
  // file loaded, with its macros allowed to run. The same path gives the
  // same workbook while it is held. A document closed since is loaded again
  // between commands, but is a fault while a command is using it. A
  // read-only file, or a document LibreOffice has open read-only, is refused.
  std::shared_ptr<Workbook> bind(const std::string& path) override;
  // The file `path` loaded (never a document already open), whose commits
  // store it into `copy`.
  std::shared_ptr<Workbook> bindCopy(const std::string& path, const std::string& copy) override;
  std::string name() const override { return kName; }
  std::vector<std::string> extensions() const override { return fileExtensions(); }
  static constexpr const char* kName = "LibreOffice";
  // Calc also opens the older binary format and its own.
  static std::vector<std::string> fileExtensions() { return {"xls", "xlsx", "xlsm", "ods"}; }
  // Told before a LibreOffice is started to connect to.
  void tellWhenStarting(std::function<void(const std::string& notice)> tell) override;

  // For the batch tool: closes the documents this engine loaded itself,
  // without storing them; documents that were open before stay open.
  virtual void closeDocumentsLoadedHere();
  // For the batch tool at its end: closes the documents this engine loaded
  // and ends the LibreOffice it started, when nothing else is open in it.
  virtual void finishUnattended();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The file name of the module that holds the engine.
inline constexpr const char* kLibreOfficeModule = "velm-kalix-libreoffice.so";

// The folders the module is looked for in: the program's own, then the
// library folder it is installed in.
std::vector<std::string> libreOfficeModuleFolders();

// Loads the module from the first of `folders` that has it (once; it stays
// loaded) and makes an engine with the options. LibreOffice's runtime
// libraries are taken from the options' program folder. A missing or broken
// module is a fault naming it.
std::shared_ptr<LibreOfficeEngine> loadLibreOfficeEngine(LibreOfficeOptions options = {});
std::shared_ptr<LibreOfficeEngine> loadLibreOfficeEngine(LibreOfficeOptions options,
                                                         const std::vector<std::string>& folders);

// For the wizard: an engine that loads the module at its first bind(), so
// that a missing module is a fault of the command that asked for it.
std::shared_ptr<WorkbookEngine> libreOfficeEngineOnDemand(LibreOfficeOptions options = {});

}  // namespace vk

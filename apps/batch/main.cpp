// velm-kalix-batch: the whole analysis of one workbook, or of a campaign of
// them, without screens.

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "apps/batch/Campaign.h"
#include "module1/Fault.h"
#include "workbook/file/InterruptedRun.h"
#include "workbook/xlsx/XlsxEngine.h"
#ifdef VK_HAVE_LIBREOFFICE
#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeWatchdog.h"
#endif

namespace {

#ifdef VK_HAVE_LIBREOFFICE
// A fault before the analysis could start, printed as the analysis prints its faults.
int notStarted(const vk::Fault& fault, bool verbose) {
  std::cerr << fault.what() << "\n";
  if (verbose && !fault.detail().empty()) std::cerr << "details: " << fault.detail() << "\n";
  std::cerr << "Nothing was written.\n";
  return vk::kExitFault;
}
#endif

// Nobody is there to see or save: a headless LibreOffice of its own (its own
// pipe and a private profile, so that it shares nothing with one the user
// runs) loads the workbook hidden, stores it when the analysis succeeded and
// ends with this program, also when this program is killed.
int runUnderLibreOffice(const vk::BatchOptions& options) {
#ifdef VK_HAVE_LIBREOFFICE
  namespace fs = std::filesystem;
  vk::LibreOfficeOptions office;
  try {
    office.watchdog = std::make_shared<vk::OfficeWatchdog>();  // first: this program has one thread yet
  } catch (const vk::Fault& fault) {
    return notStarted(fault, options.verbose);
  }
  std::string folder = (fs::temp_directory_path() / "velm-kalix-batch-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    std::cerr << "cannot make a folder for LibreOffice's profile in " << fs::temp_directory_path().string()
              << "\nNothing was written.\n";
    return vk::kExitFault;
  }
  office.watchdog->removeAtEnd(folder);
  office.profileFolder = folder;
  office.pipeName = "velm_kalix_batch_" + std::to_string(::getpid());
  office.officeArguments = {"--headless", "--invisible"};
  office.loadHidden = true;
  office.asTransaction = true;
  int status = vk::kExitFault;
  try {
    auto engine = vk::loadLibreOfficeEngine(office);
    // One office for a whole campaign, one document at a time, each closed after its analysis.
    status =
        vk::RunWorkbooks(options, {[engine] { return engine; }, [engine] { engine->closeDocumentsLoadedHere(); }, true},
                         std::cout, std::cerr);
    try {
      engine->finishUnattended();
    } catch (const vk::Fault& fault) {
      // What was written is written; only the closing failed.
      std::cerr << "warning: " << fault.what() << "\n";
    }
  } catch (const vk::Fault& fault) {  // the engine's module cannot be loaded
    status = notStarted(fault, options.verbose);
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return status;
#else
  (void)options;
  std::cerr << "velm-kalix-batch: this build has no LibreOffice engine\n";
  return vk::kExitUsage;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  auto options = vk::ParseBatchArguments(args, error);
  if (!options) {
    std::cerr << "velm-kalix-batch: " << error << "\n" << vk::BatchUsage();
    return vk::kExitUsage;
  }
  if (options->help) {
    std::cout << vk::BatchUsage();
    return 0;
  }
  if (options->version) {
    std::cout << vk::BatchVersion() << "\n";
    return 0;
  }
  options->progress = ::isatty(STDERR_FILENO) == 1;
  if (options->engine == "libreoffice") return runUnderLibreOffice(*options);
  vk::removeLockFilesWhenInterrupted();
  return vk::RunWorkbooks(*options, {[] { return std::make_shared<vk::XlsxEngine>(); }, {}, false}, std::cout,
                          std::cerr);
}

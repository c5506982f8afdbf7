// velm-kalix-batch: the whole analysis of one workbook without screens.

#include <iostream>

#include "apps/batch/BatchTool.h"
#include "module1/Fault.h"
#include "workbook/xlsx/XlsxEngine.h"
#ifdef VK_HAVE_LIBREOFFICE
#include "workbook/uno/LibreOfficeEngine.h"
#endif

namespace {

// Nobody is there to see or save: documents load hidden in a headless
// LibreOffice, and the analysed workbook is stored and closed at the end.
int runUnderLibreOffice(const vk::BatchOptions& options) {
#ifdef VK_HAVE_LIBREOFFICE
  vk::LibreOfficeOptions office;
  office.loadHidden = true;
  office.officeArguments = {"--headless", "--invisible"};
  auto engine = std::make_shared<vk::LibreOfficeEngine>(office);
  int status = vk::RunBatch(options, engine, std::cout, std::cerr);
  try {
    engine->finishUnattended(options.output.value_or(options.workbook));
  } catch (const vk::Fault& fault) {
    std::cerr << fault.what() << "\n";
    if (options.verbose && !fault.detail().empty()) std::cerr << "details: " << fault.detail() << "\n";
    status = 1;
  }
  return status;
#else
  (void)options;
  std::cerr << "velm-kalix-batch: this build has no LibreOffice engine\n";
  return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  auto options = vk::ParseBatchArguments(args, error);
  if (!options) {
    std::cerr << "velm-kalix-batch: " << error << "\n" << vk::BatchUsage();
    return 2;
  }
  if (options->engine == "libreoffice") return runUnderLibreOffice(*options);
  return vk::RunBatch(*options, std::make_shared<vk::XlsxEngine>(), std::cout, std::cerr);
}

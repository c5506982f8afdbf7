// velm-kalix-batch: the whole analysis of one workbook without screens.

#include <iostream>

#include "apps/batch/BatchTool.h"
#include "workbook/xlsx/XlsxEngine.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  auto options = vk::ParseBatchArguments(args, error);
  if (!options) {
    std::cerr << "velm-kalix-batch: " << error << "\n" << vk::BatchUsage();
    return 2;
  }
  return vk::RunBatch(*options, std::make_shared<vk::XlsxEngine>(), std::cout, std::cerr);
}

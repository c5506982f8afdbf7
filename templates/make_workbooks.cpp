// make-workbooks ROOT: writes the template, the sample and the test workbooks
// under ROOT at their paths in the source tree (templates/template.xlsx, ...).
// Run on the source tree (the build target "workbooks") to regenerate them.

#include <cstdio>
#include <exception>
#include <filesystem>

#include "templates/Layout.h"
#include "templates/TestBooks.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-workbooks ROOT\n");
    return 2;
  }
  namespace fs = std::filesystem;
  try {
    for (const auto& b : vk::books::allBooks()) {
      const fs::path file = fs::path(argv[1]) / b.path;
      fs::create_directories(file.parent_path());
      vk::books::writeWorkbook(b, file.string());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-workbooks: %s\n", e.what());
    return 1;
  }
  return 0;
}

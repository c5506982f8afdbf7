#pragma once
// A private headless LibreOffice for the tests: its own pipe and its own
// profile, started at first use and stopped by the PID it was started with
// when the test program ends. A LibreOffice the user runs is never touched.

#include <sys/types.h>

#include <memory>
#include <string>

#include "workbook/uno/LibreOfficeEngine.h"
#include "workbook/uno/OfficeConnection.h"

namespace vk::test {

class TestOffice {
 public:
  // The running test office, started when first asked for.
  static TestOffice& get();
  // Ends the test office, if one was started (from the test environment's tear-down).
  static void stop();

  // Options for an engine that talks to this office and starts none itself.
  LibreOfficeOptions engineOptions() const;
  OfficeConnection& connection() { return *connection_; }
  // A private folder for the test files of this run.
  const std::string& folder() const { return folder_; }

  ~TestOffice();
  TestOffice(const TestOffice&) = delete;
  TestOffice& operator=(const TestOffice&) = delete;

 private:
  TestOffice();
  std::string folder_;
  std::string pipe_;
  pid_t pid_ = 0;
  std::unique_ptr<OfficeConnection> connection_;
};

}  // namespace vk::test

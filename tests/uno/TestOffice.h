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
  // Ends the test office, if one was started (from the test environment's
  // tear-down, or after a test killed it: the next get() starts another).
  static void stop();

  // Options for an engine that talks to this office and starts none itself.
  LibreOfficeOptions engineOptions() const;
  // Connected anew when the last connection was lost.
  OfficeConnection& connection();
  // Ends the office at once, as a crash would (SIGKILL to its process
  // group), and waits until it is gone.
  void kill();
  // Every connection of this program to an office breaks, as when the link
  // is lost; the office and its documents stay. Documents of the tests held
  // over the lost connection must be let go of before anyone connects again.
  void dropConnections();
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

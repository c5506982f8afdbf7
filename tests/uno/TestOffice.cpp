#include "tests/uno/TestOffice.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/lang/XComponent.hpp>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "module1/Fault.h"
#include "workbook/uno/OfficeProcess.h"

namespace vk::test {

using css::uno::Reference;

namespace {

// The process group of the running test office, for the crash handler.
volatile sig_atomic_t officeGroup = 0;

// A test program that crashes takes its office with it instead of leaving
// it running: ends the group, then dies of the same signal.
void endOfficeAndDie(int signal) {
  if (officeGroup > 0) kill(-pid_t(officeGroup), SIGKILL);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

std::unique_ptr<TestOffice>& instance() {
  static std::unique_ptr<TestOffice> office;
  return office;
}

// Waits until the process group has ended; false when the time ran out.
bool waitForEnd(pid_t pid, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    officeExitStatus(pid);  // reaps the wrapper once it ends
    if (kill(-pid, 0) != 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

}  // namespace

TestOffice& TestOffice::get() {
  if (!instance()) instance().reset(new TestOffice);
  return *instance();
}

void TestOffice::stop() { instance().reset(); }

TestOffice::TestOffice() {
  char pattern[] = "/tmp/vk-uno-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a folder for the test office");
  folder_ = pattern;
  pipe_ = "vk_test_" + std::to_string(getpid());
  pid_ = startOffice(LibreOfficeOptions::defaultProgramDir(),
                     {acceptArgument(pipe_), "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
                      "-env:UserInstallation=file://" + folder_ + "/profile"});
  officeGroup = pid_;
  for (int fatal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) std::signal(fatal, endOfficeAndDie);
  // A fresh profile takes a while on a busy machine.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(180);
  while (!connection_) {
    try {
      connection_ = std::make_unique<OfficeConnection>(engineOptions());
    } catch (const Fault&) {
      if (auto status = officeExitStatus(pid_))
        throw std::runtime_error("the test office ended at its start with status " + std::to_string(*status));
      if (std::chrono::steady_clock::now() > deadline)
        throw std::runtime_error("the test office did not answer on its pipe");
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
  }
}

TestOffice::~TestOffice() {
  connection_.reset();
  officeGroup = 0;
  // The wrapper and soffice.bin share the process group the wrapper was
  // started in; nothing outside it is signalled.
  ::kill(-pid_, SIGTERM);
  if (!waitForEnd(pid_, std::chrono::seconds(30))) {
    ::kill(-pid_, SIGKILL);
    waitForEnd(pid_, std::chrono::seconds(10));
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

OfficeConnection& TestOffice::connection() {
  if (!connection_ || !connection_->alive()) connection_ = std::make_unique<OfficeConnection>(engineOptions());
  return *connection_;
}

void TestOffice::kill() {
  ::kill(-pid_, SIGKILL);
  waitForEnd(pid_, std::chrono::seconds(30));
}

void TestOffice::dropConnections() {
  Reference<css::bridge::XBridgeFactory2> bridges =
      css::bridge::BridgeFactory::create(localUnoContext(LibreOfficeOptions::defaultProgramDir()));
  for (const Reference<css::bridge::XBridge>& bridge : bridges->getExistingBridges())
    Reference<css::lang::XComponent>(bridge, css::uno::UNO_QUERY_THROW)->dispose();
  connection_.reset();
}

LibreOfficeOptions TestOffice::engineOptions() const {
  LibreOfficeOptions options;
  options.pipeName = pipe_;
  options.startOffice = false;
  return options;
}

}  // namespace vk::test

#include "workbook/uno/OfficeConnection.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <chrono>
#include <csignal>
#include <mutex>
#include <optional>
#include <thread>

#include "module1/Fault.h"
#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/OfficeFault.h"
#include "workbook/uno/OfficeProcess.h"
#include "workbook/uno/OfficeText.h"
#include "workbook/uno/OfficeWatchdog.h"

namespace vk {

using css::uno::Reference;

// Found through the installation's fundamentalrc.
Reference<css::uno::XComponentContext> localUnoContext(const std::string& programDir) {
  static std::mutex mutex;
  static Reference<css::uno::XComponentContext> context;
  std::lock_guard lock(mutex);
  if (!context.is()) {
    // A connection that LibreOffice has closed (it ended, or dropped a bridge
    // whose last reference went away) must become a fault on the next call,
    // not a SIGPIPE that ends this program.
    std::signal(SIGPIPE, SIG_IGN);
    rtl::Bootstrap::set("URE_BOOTSTRAP", toOffice("vnd.sun.star.pathname:" + programDir + "/fundamentalrc"));
    context = officeCall([] { return std::string("start the UNO runtime of this program"); },
                         [] { return cppu::defaultBootstrap_InitialComponentContext(); });
  }
  return context;
}

namespace {

// The office's component context, or nothing when no office listens yet.
Reference<css::uno::XComponentContext> tryResolve(const Reference<css::bridge::XUnoUrlResolver>& resolver,
                                                  const std::string& pipeName) {
  try {
    Reference<css::uno::XInterface> remote =
        resolver->resolve(toOffice("uno:pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext"));
    return Reference<css::uno::XComponentContext>(remote, css::uno::UNO_QUERY_THROW);
  } catch (const css::connection::NoConnectException&) {
    return {};
  }
}

}  // namespace

OfficeConnection::OfficeConnection(const LibreOfficeOptions& options, const std::function<void()>& starting)
    : watchdog_(options.watchdog) {
  Reference<css::uno::XComponentContext> local = localUnoContext(options.programDir);
  const std::string pipe = options.pipeName;
  auto doing = [&] { return "connect on the pipe \"" + pipe + "\""; };
  Reference<css::bridge::XUnoUrlResolver> resolver =
      officeCall(doing, [&] { return css::bridge::UnoUrlResolver::create(local); });

  // A new bridge can meet one that LibreOffice is still tearing down (an
  // earlier connection whose last reference just went away) and fail its
  // first calls; a few tries get past that.
  for (int attempt = 1; !context_.is() || !desktop_.is(); ++attempt) {
    try {
      context_ = tryResolve(resolver, pipe);
      if (context_.is()) desktop_ = css::frame::Desktop::create(context_);
      if (!context_.is()) break;
    } catch (const css::uno::RuntimeException& error) {
      context_.clear();
      if (attempt == 3)
        throw Fault(FaultKind::Workbook, "LibreOffice did not answer on the pipe \"" + pipe + "\"",
                    fromOffice(error.Message));
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  if (!context_.is()) {
    if (!options.startOffice) throw Fault(FaultKind::Workbook, "no LibreOffice listens on the pipe \"" + pipe + "\"");
    if (starting) starting();
    std::vector<std::string> arguments{acceptArgument(pipe), "--nologo", "--norestore", "--nodefault"};
    arguments.insert(arguments.end(), options.officeArguments.begin(), options.officeArguments.end());
    if (!options.profileFolder.empty())
      arguments.push_back("-env:UserInstallation=" + fromOffice(fileUrl(options.profileFolder + "/profile")));
    const pid_t pid = startOffice(options.programDir, arguments);
    // Its own session is its own process group, whose id is its PID.
    if (watchdog_) watchdog_->watch(pid);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.connectTimeoutSeconds);
    std::optional<int> exitStatus;
    while (!context_.is()) {
      if (std::chrono::steady_clock::now() > deadline)
        throw Fault(FaultKind::Workbook, "LibreOffice did not answer on the pipe \"" + pipe + "\" within " +
                                             std::to_string(options.connectTimeoutSeconds) + " seconds");
      // An office that was running already takes over the arguments and the
      // started wrapper ends at once with status 0; any other end is a failure.
      if (!exitStatus && (exitStatus = officeExitStatus(pid)) && *exitStatus != 0)
        throw Fault(FaultKind::Workbook, "LibreOffice ended at its start with status " + std::to_string(*exitStatus));
      std::this_thread::sleep_for(std::chrono::milliseconds(250));
      try {
        context_ = tryResolve(resolver, pipe);
      } catch (const css::uno::RuntimeException&) {
        // The pipe is open but the office is still starting up.
      }
    }
    if (!exitStatus && !officeExitStatus(pid))
      startedPid_ = pid;
    else if (watchdog_)
      watchdog_->ended(pid);  // an office running already took over
    desktop_ = officeCall([] { return std::string("reach the LibreOffice desktop"); },
                          [&] { return css::frame::Desktop::create(context_); });
  }
}

bool OfficeConnection::alive() const {
  try {
    desktop_->getCurrentFrame();
    return true;
  } catch (const css::uno::Exception&) {
    return false;
  }
}

void OfficeConnection::endOfficeIfStartedHereAndIdle() {
  if (!startedHere()) return;
  try {
    if (desktop_->getComponents()->createEnumeration()->hasMoreElements()) return;
    desktop_->terminate();
  } catch (const css::uno::Exception&) {
    // The office ended while being asked to: what was wanted.
  }
  // Reap the started wrapper once the office is gone.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool ended = false;
  while (!(ended = officeExitStatus(startedPid_).has_value()) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  if (ended && watchdog_) watchdog_->ended(startedPid_);
  startedPid_ = 0;
}

}  // namespace vk

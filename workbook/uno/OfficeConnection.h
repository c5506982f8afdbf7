#pragma once
// The link to a running LibreOffice over its named pipe.

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <sys/types.h>

#include <functional>
#include <memory>

#include "workbook/uno/LibreOfficeEngine.h"

namespace vk {

// This program's own UNO runtime, made once (at the first connection): the
// installation's type libraries and services, its bridges to offices among them.
css::uno::Reference<css::uno::XComponentContext> localUnoContext(const std::string& programDir);

class OfficeConnection {
 public:
  // Connects to the LibreOffice listening on options.pipeName; when none
  // answers and options.startOffice is set, starts one and retries until it
  // answers or the time-out ends, under the options' watchdog when there is
  // one; `starting` is called just before. A fault when no connection is made.
  explicit OfficeConnection(const LibreOfficeOptions& options, const std::function<void()>& starting = {});

  const css::uno::Reference<css::frame::XDesktop2>& desktop() const { return desktop_; }
  // Whether LibreOffice still answers.
  bool alive() const;
  // Whether this connection started the office it talks to (an office that
  // was running already took over the start and this one ended at once).
  bool startedHere() const { return startedPid_ != 0; }
  // Ends the office this connection started, when no document is open in it
  // any more; an office that was running before is never ended.
  void endOfficeIfStartedHereAndIdle();

 private:
  css::uno::Reference<css::uno::XComponentContext> context_;
  css::uno::Reference<css::frame::XDesktop2> desktop_;
  pid_t startedPid_ = 0;
  std::shared_ptr<OfficeWatchdog> watchdog_;
};

}  // namespace vk

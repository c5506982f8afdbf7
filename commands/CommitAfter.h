#pragma once
// The end of a command: what it wrote becomes durable in one commit (saved to
// the file, or flushed to the spreadsheet application), and a fault is passed
// on to the screen or the batch tool that reports it.
//
// A command run inside another one joins it: its own end commits nothing, and
// the outermost decides once. So the same wrapper serves
//   - the wizard, where every command stands alone and is committed at its
//     end, also after a fault, since cells already written stay written;
//   - a whole analysis run as one (Open, Reading, thresholds, Run inside one
//     outer commitAfter with AfterFault::WriteNothing), committed once when
//     all of it succeeded, and discarded after a fault.
//
// The commit is tried once. When it fails after the body succeeded, its fault
// is passed on as it is; after a fault of the body, the fault is passed on
// with one sentence added about the failed save.

#include <optional>
#include <type_traits>

#include "module1/Fault.h"
#include "module1/Module1.h"

namespace vk {

enum class AfterFault {
  KeepWhatWasWritten,  // commit what was written, then pass the fault on
  WriteNothing,        // give up what was written (discard) and pass the fault on
};

namespace detail {

// Marks a command under way on the module while it exists.
class OutermostCommand {
 public:
  explicit OutermostCommand(Module1& m) : m_(m) { m_.CommandUnderWay = true; }
  ~OutermostCommand() { m_.CommandUnderWay = false; }
  OutermostCommand(const OutermostCommand&) = delete;
  OutermostCommand& operator=(const OutermostCommand&) = delete;

 private:
  Module1& m_;
};

void commitWork(Module1& m);
// Called from the handler of `fault`; rethrows it, or a fault that also
// reports a failed save.
[[noreturn]] void endAfterFault(Module1& m, const Fault& fault, AfterFault afterFault);

}  // namespace detail

template <class Body>
auto commitAfter(Module1& m, Body body, AfterFault afterFault = AfterFault::KeepWhatWasWritten) -> decltype(body()) {
  using Result = decltype(body());
  if (m.CommandUnderWay) return body();  // the enclosing command commits

  std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
  try {
    detail::OutermostCommand scope(m);
    if constexpr (std::is_void_v<Result>)
      body();
    else
      result.emplace(body());
  } catch (const Fault& fault) {
    detail::endAfterFault(m, fault, afterFault);
  }
  // Outside the try: a failed commit is not caught and tried again.
  detail::commitWork(m);
  if constexpr (!std::is_void_v<Result>) return std::move(*result);
}

}  // namespace vk

#pragma once
// Answers every question LibreOffice would ask while loading a document
// ("the file is locked", "enter the password", "repair the file?") with
// Abort, so that the load fails with a reason instead of waiting on a modal
// dialog that nobody may see.

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

#include <mutex>
#include <string>

namespace vk {

class AbortingInteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
 public:
  void SAL_CALL handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;
  // Why the first request was refused, in words ("it is locked by ..."); empty when none was.
  std::string refusedReason() const;
  // The first request as LibreOffice named it, for --verbose.
  std::string refusedRequest() const;

 private:
  mutable std::mutex mutex_;
  std::string reason_;
  std::string request_;
};

}  // namespace vk

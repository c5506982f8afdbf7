#include "workbook/uno/AbortingInteractionHandler.h"

#include <com/sun/star/document/AmbigousFilterRequest.hpp>
#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/document/FilterOptionsRequest.hpp>
#include <com/sun/star/document/LockFileCorruptRequest.hpp>
#include <com/sun/star/document/LockedDocumentRequest.hpp>
#include <com/sun/star/document/NoSuchFilterRequest.hpp>
#include <com/sun/star/document/OwnLockOnDocumentRequest.hpp>
#include <com/sun/star/task/DocumentPasswordRequest2.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>
#include <com/sun/star/ucb/InteractiveIOException.hpp>

#include "workbook/uno/OfficeText.h"

namespace vk {

namespace {

std::string describe(const css::uno::Any& request) {
  if (css::document::LockedDocumentRequest locked; request >>= locked)
    return "it is locked for editing by " + (locked.UserInfo.isEmpty() ? "another user" : fromOffice(locked.UserInfo));
  if (css::document::OwnLockOnDocumentRequest own; request >>= own)
    return "it is locked for editing by this user, in another LibreOffice (" + fromOffice(own.TimeInfo) + ")";
  if (css::document::LockFileCorruptRequest corrupt; request >>= corrupt) return "its lock file is damaged";
  if (css::document::BrokenPackageRequest broken; request >>= broken) return "the file is damaged";
  if (request.isExtractableTo(cppu::UnoType<css::task::PasswordRequest>::get())) return "it is protected by a password";
  if (css::ucb::InteractiveIOException io; request >>= io)
    return "the file could not be read (input/output error " + std::to_string(static_cast<int>(io.Code)) + ")";
  if (css::task::ErrorCodeRequest code; request >>= code)
    return "LibreOffice reported error " + std::to_string(static_cast<unsigned>(code.ErrCode));
  if (request.isExtractableTo(cppu::UnoType<css::document::NoSuchFilterRequest>::get()) ||
      request.isExtractableTo(cppu::UnoType<css::document::AmbigousFilterRequest>::get()))
    return "LibreOffice does not recognise the file's format";
  if (request.isExtractableTo(cppu::UnoType<css::document::FilterOptionsRequest>::get()))
    return "LibreOffice would have to ask how to import the file, which is not a workbook";
  // Its type names nothing a user knows; --verbose shows it.
  return "LibreOffice had a question about the file that nobody is there to answer";
}

}  // namespace

void AbortingInteractionHandler::handle(const css::uno::Reference<css::task::XInteractionRequest>& request) {
  {
    // The first question says why; refusing it may bring follow-up ones
    // ("the load was aborted") that say less.
    std::lock_guard lock(mutex_);
    if (reason_.empty()) {
      reason_ = describe(request->getRequest());
      request_ = fromOffice(request->getRequest().getValueTypeName());
    }
  }
  const auto continuations = request->getContinuations();
  for (const auto& c : continuations)
    if (css::uno::Reference<css::task::XInteractionAbort> abort{c, css::uno::UNO_QUERY}; abort.is()) {
      abort->select();
      return;
    }
  for (const auto& c : continuations)
    if (css::uno::Reference<css::task::XInteractionDisapprove> no{c, css::uno::UNO_QUERY}; no.is()) {
      no->select();
      return;
    }
}

std::string AbortingInteractionHandler::refusedReason() const {
  std::lock_guard lock(mutex_);
  return reason_;
}

std::string AbortingInteractionHandler::refusedRequest() const {
  std::lock_guard lock(mutex_);
  return request_;
}

}  // namespace vk

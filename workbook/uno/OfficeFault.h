#pragma once
// What LibreOffice throws becomes a Workbook fault that says what the program
// was doing when it failed, in plain words: no places in LibreOffice's source
// ("cellsuno.cxx:4962") and no names of its types. Those go into the fault's
// detail, for --verbose. Faults of the program itself pass unchanged.

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <string>
#include <string_view>
#include <utility>

namespace vk {

// A message of LibreOffice without the places in its source it names, the
// names of its types and anything after its first line; empty when nothing
// else is left.
std::string plainOfficeText(std::string_view message);

// "LibreOffice failed to <doing>: <why>"; a closed document or a lost
// connection (disposed) is said in words. Called from the handler of `error`.
[[noreturn]] void officeFault(const std::string& doing, const css::uno::Exception& error, bool disposed = false);

// Runs call(); an exception of LibreOffice becomes a fault described by
// doing(), which is only evaluated then.
template <class Call, class Doing>
auto officeCall(Doing&& doing, Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const css::lang::DisposedException& error) {
    officeFault(doing(), error, true);
  } catch (const css::uno::Exception& error) {
    officeFault(doing(), error);
  }
}

}  // namespace vk

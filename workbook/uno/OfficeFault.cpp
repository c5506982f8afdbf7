#include "workbook/uno/OfficeFault.h"

#include <com/sun/star/container/NoSuchElementException.hpp>
#include <com/sun/star/io/IOException.hpp>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <cppuhelper/exc_hlp.hxx>

#include <regex>

#include "module1/Fault.h"
#include "workbook/uno/OfficeText.h"

namespace vk {

namespace {

// The kind of failure in words, for an exception that carries no message of its own.
std::string reasonOfType(const css::uno::Any& caught) {
  auto is = [&](const css::uno::Type& type) { return caught.isExtractableTo(type); };
  if (is(cppu::UnoType<css::lang::IndexOutOfBoundsException>::get())) return "it has no such cell, range or sheet";
  if (is(cppu::UnoType<css::lang::IllegalArgumentException>::get())) return "it did not accept the request";
  if (is(cppu::UnoType<css::container::NoSuchElementException>::get())) return "it has nothing of that name";
  if (is(cppu::UnoType<css::io::IOException>::get())) return "a file could not be read or written";
  return "it reported no reason";
}

}  // namespace

std::string plainOfficeText(std::string_view message) {
  std::string text(message.substr(0, message.find('\n')));
  // "at /build/.../sc/source/ui/unoobj/cellsuno.cxx:4962", or the place alone.
  static const std::regex place(R"((\bat\s+)?\S*\.(cxx|hxx|cpp|hpp|c|h|java|py)(:\d+)+:?)");
  static const std::regex typeName(R"(\b(com\.sun\.star|css)(\.\w+)+)");
  text = std::regex_replace(text, place, "");
  text = std::regex_replace(text, typeName, "");
  const std::size_t first = text.find_first_not_of(" \t:;,-");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t:;,-");
  return text.substr(first, last - first + 1);
}

void officeFault(const std::string& doing, const css::uno::Exception& error, bool disposed) {
  const std::string message = fromOffice(error.Message);
  const css::uno::Any caught = cppu::getCaughtException();
  const std::string type = fromOffice(caught.getValueTypeName());
  std::string why = plainOfficeText(message);
  // What a lost connection says ("Binary URP bridge disposed during call")
  // means nothing to a user; it stays in the detail.
  if (disposed)
    why = "the workbook was closed in LibreOffice, or LibreOffice has ended";
  else if (why.empty())
    why = reasonOfType(caught);
  throw Fault(FaultKind::Workbook, "LibreOffice failed to " + doing + ": " + why,
              type + (message.empty() ? "" : ": " + message));
}

}  // namespace vk

#pragma once
// Strings across the UNO boundary: the program's are UTF-8, LibreOffice's UTF-16.

#include <rtl/ustring.hxx>
#include <string>
#include <string_view>

namespace vk {

inline rtl::OUString toOffice(std::string_view text) {
  return rtl::OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

inline std::string fromOffice(const rtl::OUString& text) {
  rtl::OString utf8 = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
  return std::string(utf8.getStr(), static_cast<size_t>(utf8.getLength()));
}

}  // namespace vk

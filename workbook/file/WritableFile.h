#pragma once
// Whether a workbook file may be written. The permission bits are looked at
// as well as access(2), because the superuser may write anything: a file
// nobody may write is read-only for this program too.

#include <string>

namespace vk {

bool writableFile(const std::string& path);

}  // namespace vk

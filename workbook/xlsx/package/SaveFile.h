#pragma once
// The workbook file on disk: reading it with the stamp of the version read,
// noticing when another program holds it open, and replacing it so that a
// failure at any moment leaves either the old file or the new one, never a
// mix (workbook/file/Replacement.h).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "workbook/file/DiskStamp.h"
#include "workbook/file/Replacement.h"

namespace vk::xlsx {

// The file's bytes and the stamp of the version read, in one go.
std::string readWorkbookFile(const std::string& path, std::uint64_t maxSize, DiskStamp& stamp);

// The lock file another program keeps beside a workbook it has open
// (".~lock.NAME#" of LibreOffice, "~$NAME" of Excel), if there is one. The
// lock file this process keeps while it writes the workbook is not another's.
std::optional<std::string> foreignLockFile(const std::string& path);

// Replaces the file `path` by what `write` writes into its replacement,
// when the file is still the version `expected` (nullopt: there is no file
// yet). The new file has the permissions of `model` (the file itself, or the
// workbook it is a copy of), and the owner of the file it replaces. Returns
// the new file's stamp; nothing, with nothing written, when the file changed
// meanwhile.
std::optional<DiskStamp> replaceFile(const std::string& path, const std::function<void(Replacement&)>& write,
                                     const std::optional<DiskStamp>& expected, const std::string& model);

}  // namespace vk::xlsx

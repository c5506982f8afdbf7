#pragma once
// Paths as the kernel means them.

#include <string>

namespace vk {

// The absolute path of `path` with its folders resolved as the kernel
// resolves them: links followed first and ".." taken after them, so that
// "dir/link/../book.xlsx" names the book beside the folder the link points
// to, never "dir/book.xlsx". The last name is kept as given (a link to a
// workbook stays that link). A path whose folder does not exist is only made
// absolute.
std::string physicalPath(const std::string& path);

// The file a path ends at, every link resolved: the file a save replaces
// and beside which its lock file stands. A path that does not exist (yet)
// has its existing folders resolved.
std::string resolvedFile(const std::string& path);

}  // namespace vk

#pragma once
// The workbooks a campaign analyses: each WORKBOOK as given, and in each
// FOLDER the files with an extension the engine opens (in its sub-folders
// too with --recursive); other files are passed over without a word, and so
// are hidden files and another program's lock files ("~$NAME"). A file named
// twice, also through a link, is analysed once. The order is the names'
// (byte order), so that the output does not depend on the order in which
// they were given.

#include <optional>
#include <string>
#include <vector>

namespace vk {

// Sets `error` (a usage error) when a folder cannot be read or when no
// workbook is left.
std::vector<std::string> campaignWorkbooks(const std::vector<std::string>& inputs,
                                           const std::vector<std::string>& extensions, bool recursive,
                                           std::string& error);

// The usage error of copies in `outputDir`, empty when there is none: two
// workbooks of one name, whose copies would be one file, or a copy that
// would be one of the workbooks.
std::string copiesError(const std::vector<std::string>& workbooks, const std::string& outputDir);

// Where --output-dir puts the copy of `workbook`: under its own name.
std::string copyIn(const std::string& outputDir, const std::string& workbook);

}  // namespace vk

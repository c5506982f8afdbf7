#include "apps/batch/CampaignInputs.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include "workbook/Ascii.h"
#include "workbook/file/PhysicalPath.h"

namespace vk {

namespace fs = std::filesystem;

namespace {

std::string nameOf(const std::string& path) { return fs::path(path).filename().string(); }

bool opens(const fs::path& file, const std::vector<std::string>& extensions) {
  const std::string name = file.filename().string();
  if (name.empty() || name[0] == '.' || name.rfind("~$", 0) == 0) return false;
  const std::string extension = asciiLowerCase(file.extension().string());
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const std::string& e) { return extension == "." + asciiLowerCase(e); });
}

template <class Iterator>
void addFolder(const std::string& folder, const std::vector<std::string>& extensions,
               std::vector<std::string>& workbooks) {
  for (const fs::directory_entry& entry : Iterator(folder)) {
    std::error_code ec;
    if (entry.is_regular_file(ec) && opens(entry.path(), extensions)) workbooks.push_back(entry.path().string());
  }
}

// One file, whatever the path or link it is named by: its device and inode,
// or where its path leads when it does not exist (the analysis says so).
std::string identity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
  return resolvedFile(path);
}

bool before(const std::string& a, const std::string& b) {
  return std::forward_as_tuple(nameOf(a), a) < std::forward_as_tuple(nameOf(b), b);
}

}  // namespace

std::vector<std::string> campaignWorkbooks(const std::vector<std::string>& inputs,
                                           const std::vector<std::string>& extensions, bool recursive,
                                           std::string& error) {
  std::vector<std::string> found;
  for (const std::string& input : inputs) {
    std::error_code ec;
    if (!fs::is_directory(input, ec)) {
      found.push_back(input);
      continue;
    }
    try {
      if (recursive)
        addFolder<fs::recursive_directory_iterator>(input, extensions, found);
      else
        addFolder<fs::directory_iterator>(input, extensions, found);
    } catch (const fs::filesystem_error& e) {
      error = "cannot read the folder " + input + ": " + e.code().message();
      return {};
    }
  }
  // The first name in order stands for a file named twice.
  std::sort(found.begin(), found.end(), before);
  std::vector<std::string> workbooks;
  std::map<std::string, bool> seen;
  for (const std::string& path : found)
    if (!seen[identity(path)]) {
      seen[identity(path)] = true;
      workbooks.push_back(path);
    }
  if (workbooks.empty()) {
    std::string list;
    for (const std::string& e : extensions) list += (list.empty() ? "." : ", .") + e;
    error = "no workbook in " + (inputs.size() == 1 ? inputs.front() : std::string("the folders given")) +
            " (files ending " + list + ")";
  }
  return workbooks;
}

std::string copyIn(const std::string& outputDir, const std::string& workbook) {
  return (fs::path(outputDir) / nameOf(workbook)).string();
}

std::string copiesError(const std::vector<std::string>& workbooks, const std::string& outputDir) {
  std::map<std::string, std::string> byName, byFile;
  for (const std::string& w : workbooks) byFile[resolvedFile(w)] = w;
  for (const std::string& w : workbooks) {
    const std::string copy = copyIn(outputDir, w);
    auto [at, fresh] = byName.emplace(nameOf(w), w);
    if (!fresh) return at->second + " and " + w + " would both be copied to " + copy + "; analyse them in two runs";
    if (auto same = byFile.find(resolvedFile(copy)); same != byFile.end())
      return "the copy of " + w + " would be the workbook " + same->second +
             " itself; --output-dir names another "
             "folder";
  }
  return {};
}

}  // namespace vk

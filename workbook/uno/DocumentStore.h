#pragma once
// Storing a document into a workbook file for the batch tool: LibreOffice
// writes the new version beside the file under a temporary name, and this
// program puts it in place by one rename, when the file is still the one
// that was there at loading (workbook/file/Replacement.h). A kill at any
// moment leaves the old file or the whole new one.

#include <com/sun/star/frame/XModel.hpp>

#include <optional>
#include <string>

#include "workbook/file/DiskStamp.h"

namespace vk {

struct StoreTarget {
  std::string file;                   // links resolved
  std::optional<DiskStamp> expected;  // the file's version at loading; none: no file yet
  std::string model;                  // the file whose permissions the new one takes
};

// The target `file` as it is now, the new version taking the permissions of `model`.
StoreTarget storeTarget(const std::string& file, const std::string& model);

// Stores the document in the format of the target's extension; `label` names
// the workbook in faults. Afterwards the target is the stored file.
void storeDocument(const css::uno::Reference<css::frame::XModel>& document, StoreTarget& target,
                   const std::string& label);

}  // namespace vk

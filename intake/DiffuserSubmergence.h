#pragma once
// The diffuser's submergence a workbook gives, for a campaign's SSOTE: the
// cell of the workbook-level defined name "DiffuserSubmergence", in feet,
// found through the same lookup as the template's sheets. Not a condition
// of the analysis: a workbook without it, or with it blank, simply has no
// SSOTE, and one that cannot be used says why in a warning, never a fault.

#include <optional>
#include <string>

#include "workbook/Workbook.h"

namespace vk {

struct DiffuserSubmergence {
  std::optional<double> feet;  // above 0 when given
  std::string warning;         // why a name that is there cannot be used; empty otherwise
};

DiffuserSubmergence readDiffuserSubmergence(Workbook& book);

}  // namespace vk

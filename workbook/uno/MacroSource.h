#pragma once
// Reading Basic and VBA module sources for the procedures they declare.

#include <string_view>

namespace vk {

// Whether the source declares "Sub name" (optionally Public, Private or
// Static; case does not matter, as in Basic). Comments and other procedures
// whose names merely begin with name do not count.
bool declaresSub(std::string_view source, std::string_view name);

}  // namespace vk

#include "plot/Thinning.h"

#include <algorithm>

#include "plot/Numbers.h"

namespace vk::plot {

std::vector<std::size_t> evenlyThinned(std::size_t count, std::size_t limit) {
  limit = std::max<std::size_t>(limit, 2);
  std::vector<std::size_t> indices;
  if (count <= limit) {
    for (std::size_t i = 0; i < count; ++i) indices.push_back(i);
    return indices;
  }
  // Index i of limit is the nearest to i/(limit - 1) of the way along; the
  // spacing is above one, so no index repeats.
  const std::size_t intervals = limit - 1;
  for (std::size_t i = 0; i < limit; ++i) indices.push_back((i * (count - 1) + intervals / 2) / intervals);
  return indices;
}

std::string thinningNote(const Thinned& thinned, std::string_view noun) {
  return "Showing " + grouped(thinned.shown) + " of " + grouped(thinned.total) + " " + std::string(noun) +
         ", thinned evenly";
}

}  // namespace vk::plot

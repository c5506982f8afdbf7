#pragma once
// A series of more points than a plot can usefully show (a probe logs up to
// tens of thousands of readings) is drawn thinned: evenly spaced points,
// always the first and the last. The caller says so under the plot.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vk::plot {

// The indices to draw of `count` points when at most `limit` may be drawn
// (`limit` taken as at least 2): all of them, or `limit` spread evenly from
// the first to the last.
std::vector<std::size_t> evenlyThinned(std::size_t count, std::size_t limit);

// A series the figure drew thinned.
struct Thinned {
  std::string label;  // the series' legend label
  std::size_t shown = 0;
  std::size_t total = 0;
};

// "Showing 2,000 of 32,723 readings, thinned evenly" for the noun "readings".
std::string thinningNote(const Thinned& thinned, std::string_view noun);

}  // namespace vk::plot

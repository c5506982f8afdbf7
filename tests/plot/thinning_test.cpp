#include <gtest/gtest.h>

#include "plot/Thinning.h"

namespace vk::plot {
namespace {

TEST(Thinning, KeepsFirstAndLastEvenlyWithinTheLimit) {
  for (std::size_t count : {2001u, 2500u, 3999u, 32723u}) {
    const std::vector<std::size_t> kept = evenlyThinned(count, 2000);
    ASSERT_EQ(kept.size(), 2000u) << count;
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), count - 1);
    // Even: every gap is the average gap rounded down or up.
    const std::size_t shortest = (count - 1) / 1999, longest = shortest + 1;
    for (std::size_t i = 1; i < kept.size(); ++i) {
      const std::size_t gap = kept[i] - kept[i - 1];
      ASSERT_TRUE(gap == shortest || gap == longest) << count << ": gap " << gap << " at " << i;
    }
  }
}

TEST(Thinning, SmallSeriesAndTinyLimits) {
  EXPECT_EQ(evenlyThinned(3, 2000), (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_TRUE(evenlyThinned(0, 2000).empty());
  EXPECT_EQ(evenlyThinned(10, 0), (std::vector<std::size_t>{0, 9}));
  EXPECT_EQ(evenlyThinned(10, 4), (std::vector<std::size_t>{0, 3, 6, 9}));
}

TEST(Thinning, NoteForTheReader) {
  EXPECT_EQ(thinningNote({"Readings", 2000, 32723}, "readings"), "Showing 2,000 of 32,723 readings, thinned evenly");
}

}  // namespace
}  // namespace vk::plot

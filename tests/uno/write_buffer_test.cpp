#include <gtest/gtest.h>

#include <set>

#include "workbook/uno/WriteBuffer.h"

namespace vk {
namespace {

// Every block cell was written with that value, and every write is in exactly one block.
void expectBlocksCoverExactly(const std::map<std::pair<int, int>, Variant>& written,
                              const std::vector<WriteBlock>& blocks) {
  std::set<std::pair<int, int>> seen;
  for (const WriteBlock& b : blocks) {
    ASSERT_EQ(b.values.size(), size_t(b.rows) * size_t(b.columns));
    for (int r = 0; r < b.rows; ++r)
      for (int c = 0; c < b.columns; ++c) {
        const std::pair<int, int> key{b.firstRow + r, b.firstColumn + c};
        auto it = written.find(key);
        ASSERT_NE(it, written.end()) << "block covers unwritten cell " << key.first << "," << key.second;
        EXPECT_EQ(b.at(r, c), it->second);
        EXPECT_TRUE(seen.insert(key).second) << "cell in two blocks";
      }
  }
  EXPECT_EQ(seen.size(), written.size());
}

TEST(WriteBuffer, PointTablesOfSixSetsLeaveAsOneBlockPerSet) {
  WriteBuffer buffer;
  std::map<std::pair<int, int>, Variant> written;
  for (int set = 1; set <= 6; ++set)
    for (int k = 1; k <= 300; ++k)
      for (int c = 0; c < 5; ++c) {
        const int column = 7 * (set - 1) + 10 + c;
        const Variant v = c == 0 ? Variant(Integer::checked(k)) : Variant::single(float(k) / float(c));
        buffer.put(44 + k, column, v);
        written[{44 + k, column}] = v;
      }
  auto blocks = buffer.takeBlocks();
  ASSERT_EQ(blocks.size(), 6u);
  EXPECT_EQ(blocks[0].rows, 300);
  EXPECT_EQ(blocks[0].columns, 5);
  expectBlocksCoverExactly(written, blocks);
  EXPECT_TRUE(buffer.empty());
}

TEST(WriteBuffer, GapsAndRaggedRowsNeverWidenABlock) {
  WriteBuffer buffer;
  std::map<std::pair<int, int>, Variant> written;
  auto put = [&](int row, int column, Variant v) {
    buffer.put(row, column, v);
    written[{row, column}] = v;
  };
  // Results column +1 on rows 25-29 and +2 on rows 25-28 and 30-34: row 29
  // of column +2 stays untouched, as does a formula the template may keep there.
  for (int row = 25; row <= 29; ++row) put(row, 11, Variant::single(float(row)));
  for (int row = 25; row <= 34; ++row)
    if (row != 29) put(row, 12, Variant::dbl(row * 0.5));
  put(40, 1, Integer(3));
  put(40, 3, Integer(4));  // B40 lies between: not written
  auto blocks = buffer.takeBlocks();
  expectBlocksCoverExactly(written, blocks);
  EXPECT_LE(blocks.size(), 6u);  // rows 25-28 pair up, row 29, 30-34, A40, C40
}

TEST(WriteBuffer, LaterWriteWinsAndClearedCellsAreDropped) {
  WriteBuffer buffer;
  buffer.put(45, 10, Integer(1));
  buffer.put(45, 10, Variant::dbl(2.5));
  buffer.put(46, 10, Integer(7));
  buffer.put(44, 10, Integer(9));
  buffer.discard(parseA1("j45:aw700"));
  auto blocks = buffer.takeBlocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].firstRow, 44);
  EXPECT_EQ(blocks[0].at(0, 0), Variant(Integer(9)));

  buffer.put(45, 10, Integer(1));
  buffer.put(45, 10, Variant::dbl(2.5));
  blocks = buffer.takeBlocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].at(0, 0), Variant::dbl(2.5));
}

TEST(WriteBuffer, EmptyValuesTravelInTheirBlock) {
  WriteBuffer buffer;
  buffer.put(13, 4, Variant());
  buffer.put(13, 5, Variant::single(1.5f));
  auto blocks = buffer.takeBlocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_TRUE(blocks[0].at(0, 0).isEmpty());
  EXPECT_EQ(blocks[0].columns, 2);
}

}  // namespace
}  // namespace vk

#include "workbook/uno/WriteBuffer.h"

namespace vk {

void WriteBuffer::put(int row, int column, const Variant& value) { cells_[{row, column}] = value; }

void WriteBuffer::discard(const CellRange& range) {
  auto it = cells_.lower_bound({range.firstRow, 0});
  while (it != cells_.end() && it->first.first <= range.lastRow) {
    if (range.contains(it->first.first, it->first.second))
      it = cells_.erase(it);
    else
      ++it;
  }
}

std::vector<WriteBlock> WriteBuffer::takeBlocks() {
  std::vector<WriteBlock> blocks;
  // The block that a run with these first and last columns would extend.
  std::map<std::pair<int, int>, size_t> open;
  auto it = cells_.begin();
  while (it != cells_.end()) {
    const int row = it->first.first, first = it->first.second;
    std::vector<Variant> run{it->second};
    int last = first;
    for (++it; it != cells_.end() && it->first.first == row && it->first.second == last + 1; ++it) {
      run.push_back(it->second);
      ++last;
    }
    auto found = open.find({first, last});
    if (found != open.end() && blocks[found->second].firstRow + blocks[found->second].rows == row) {
      WriteBlock& block = blocks[found->second];
      block.values.insert(block.values.end(), run.begin(), run.end());
      ++block.rows;
    } else {
      open[{first, last}] = blocks.size();
      blocks.push_back({row, first, 1, last - first + 1, std::move(run)});
    }
  }
  cells_.clear();
  return blocks;
}

}  // namespace vk

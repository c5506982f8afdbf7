#include "workbook/xlsx/sheet/SheetCells.h"

// The text of the part as read, which the cells point into, and what is
// left of it once the results it held were cleared.

namespace vk::xlsx {

std::string_view SheetCells::startTag(const Cell& cell) const {
  return cell.length ? attributesOf(slice(cell.offset, cell.length)) : std::string_view();
}

std::uint32_t SheetCells::startTagLength(const Cell& cell) const {
  const std::string_view list = startTag(cell);
  const std::size_t end = std::size_t(list.data() - text_.data()) + list.size() - cell.offset;
  const std::size_t closing = end < cell.length && text_[cell.offset + end] == '/' ? 2 : 1;
  return std::uint32_t(std::min<std::size_t>(end + closing, cell.length));
}

void SheetCells::forgetText(Cell& cell) {
  if (!cell.length) return;
  // A new cell of the format is written as `<c r="REF" s="N"/>`; so is this
  // one when its start tag holds nothing else that is written back: the type
  // and a value's metadata go with the value.
  XmlAttributes attributes(startTag(cell));
  XmlAttribute a;
  std::uint64_t style = 0;
  bool hasStyle = false;
  while (attributes.next(a)) {
    const std::string_view local = localName(a.name);
    if (local == "r" || local == "t" || local == "vm" || local == "cm") continue;
    if (a.name != "s" || a.quote != '"' || hasStyle || a.value.empty() || a.value.size() > 9 ||
        (a.value.size() > 1 && a.value[0] == '0'))
      return;
    for (char c : a.value) {
      if (c < '0' || c > '9') return;
      style = style * 10 + std::uint64_t(c - '0');
    }
    hasStyle = true;
  }
  if (!attributes.ok() || !hasStyle) return;
  released_ += cell.length;
  cell.offset = 0;
  cell.length = 0;
  cell.style = std::uint32_t(style + 1);
}

void SheetCells::compactText() {
  std::string kept;
  auto keep = [&](std::uint32_t offset, std::uint32_t length) {
    const auto at = std::uint32_t(kept.size());
    kept.append(text_.substr(offset, length));
    return at;
  };
  for (auto& [rowNumber, row] : rows_) {
    if (!row.length) continue;  // a new row: its cells are new too
    if (!row.modified) {
      // Written back as read: all of it, its cells where they were in it.
      const std::uint32_t from = row.offset, to = keep(row.offset, row.length);
      for (Cell& cell : row.cells)
        if (cell.length) cell.offset = cell.offset - from + to;
      if (row.tailLength) row.tailOffset = row.tailOffset - from + to;
      row.offset = to;
      continue;
    }
    // Regenerated: its start tag, what follows its cells, and each cell
    // still read; of a cell written or cleared only its attributes are.
    row.offset = keep(row.offset, row.tagLength);
    row.length = row.tagLength;
    if (row.tailLength) row.tailOffset = keep(row.tailOffset, row.tailLength);
    for (Cell& cell : row.cells) {
      if (!cell.length) continue;
      if (cell.state == State::Number || cell.state == State::Blank) cell.length = startTagLength(cell);
      cell.offset = keep(cell.offset, cell.length);
    }
  }
  ownText_ = std::move(kept);
  text_ = ownText_;
  released_ = 0;
}

}  // namespace vk::xlsx

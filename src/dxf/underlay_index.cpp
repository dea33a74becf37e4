#include "dxf/underlay_index.h"

#include <algorithm>
#include <cmath>

namespace merilon {

void UnderlayIndex::build(const std::vector<WorldBox>& boxes) {
  count_ = boxes.empty() ? 0 : static_cast<int>(boxes.size()) - 1;
  cellStart_.clear();
  order_.clear();
  cellBox_.clear();
  cellUsed_.clear();
  if (count_ == 0) return;
  WorldBox extent = boxes[1];
  for (int i = 2; i <= count_; ++i) {
    const WorldBox& b = boxes[static_cast<std::size_t>(i)];
    extent.minX = std::min(extent.minX, b.minX);
    extent.minY = std::min(extent.minY, b.minY);
    extent.maxX = std::max(extent.maxX, b.maxX);
    extent.maxY = std::max(extent.maxY, b.maxY);
  }
  // About eight elements a cell, at most 1024 x 1024 cells.
  const int side = std::clamp(static_cast<int>(std::sqrt(count_ / 8.0)), 1, 1024);
  const double width = extent.maxX - extent.minX, height = extent.maxY - extent.minY;
  const double cellW = width > 0 ? width / side : 1, cellH = height > 0 ? height / side : 1;
  auto cellOf = [&](const WorldBox& b) {
    const double cx = (b.minX + b.maxX) / 2, cy = (b.minY + b.maxY) / 2;
    // Also safe for boxes whose centre overflows to infinity.
    const double fx = (cx - extent.minX) / cellW, fy = (cy - extent.minY) / cellH;
    const int ix = fx >= side ? side - 1 : fx > 0 ? static_cast<int>(fx) : 0;
    const int iy = fy >= side ? side - 1 : fy > 0 ? static_cast<int>(fy) : 0;
    return static_cast<std::size_t>(iy) * static_cast<std::size_t>(side) +
           static_cast<std::size_t>(ix);
  };
  const std::size_t cells = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
  std::vector<std::uint32_t> cellOfElement(static_cast<std::size_t>(count_) + 1);
  cellStart_.assign(cells + 1, 0);
  cellBox_.assign(cells, WorldBox{});
  cellUsed_.assign(cells, false);
  for (int i = 1; i <= count_; ++i) {
    const WorldBox& b = boxes[static_cast<std::size_t>(i)];
    const std::size_t c = cellOf(b);
    cellOfElement[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(c);
    ++cellStart_[c + 1];
    WorldBox& cb = cellBox_[c];
    if (!cellUsed_[c]) {
      cb = b;
      cellUsed_[c] = true;
    } else {
      cb.minX = std::min(cb.minX, b.minX);
      cb.minY = std::min(cb.minY, b.minY);
      cb.maxX = std::max(cb.maxX, b.maxX);
      cb.maxY = std::max(cb.maxY, b.maxY);
    }
  }
  for (std::size_t c = 0; c < cells; ++c) cellStart_[c + 1] += cellStart_[c];
  order_.resize(static_cast<std::size_t>(count_));
  std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (int i = 1; i <= count_; ++i) {
    order_[fill[cellOfElement[static_cast<std::size_t>(i)]]++] = static_cast<std::uint32_t>(i);
  }
}

void UnderlayIndex::near(const WorldBox& view, std::vector<int>& elements, bool& all) const {
  elements.clear();
  all = false;
  std::size_t total = 0;
  for (std::size_t c = 0; c < cellBox_.size(); ++c) {
    if (cellUsed_[c] && cellBox_[c].meets(view)) total += cellStart_[c + 1] - cellStart_[c];
  }
  if (total * 2 > static_cast<std::size_t>(count_)) {
    all = true;
    return;
  }
  elements.reserve(total);
  for (std::size_t c = 0; c < cellBox_.size(); ++c) {
    if (!cellUsed_[c] || !cellBox_[c].meets(view)) continue;
    for (std::uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
      elements.push_back(static_cast<int>(order_[k]));
    }
  }
  std::sort(elements.begin(), elements.end());
}

}  // namespace merilon

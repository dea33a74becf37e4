// Buckets of the underlay's elements on a regular grid over their extent, so that a redraw of a
// small part of a large drawing visits only the elements near the view. Each element sits in
// the cell of its box's centre; each cell keeps the box of all its elements.
#pragma once

#include <cstdint>
#include <vector>

#include "points/world_box.h"

namespace merilon {

class UnderlayIndex {
 public:
  // Buckets elements 1..boxes.size()-1 (boxes[0] unused).
  void build(const std::vector<WorldBox>& boxes);
  // The elements whose cell's box meets `view`, in ascending order; `all` instead when they are
  // more than half of every element (visiting everything in order is then cheaper).
  void near(const WorldBox& view, std::vector<int>& elements, bool& all) const;
  int elementCount() const { return count_; }
  int cellCount() const { return static_cast<int>(cellBox_.size()); }

 private:
  int count_ = 0;
  std::vector<std::uint32_t> cellStart_;  // cell c holds order_[cellStart_[c]..cellStart_[c+1])
  std::vector<std::uint32_t> order_;      // element indices, ascending within each cell
  std::vector<WorldBox> cellBox_;
  std::vector<bool> cellUsed_;
};

}  // namespace merilon

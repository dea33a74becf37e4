// A grid of cells over the extent of the points' X and Y, each cell listing its points in index
// order, so that drawing a part of a large survey visits only the points near that part. The
// grid follows the store by its change count: the first query after any change rebuilds it.
#pragma once

#include <cstdint>
#include <vector>

#include "points/world_box.h"

namespace merilon {

class PointStore;

class PointGridIndex {
 public:
  // About this many points share a cell on average.
  static constexpr int kPointsPerCell = 8;

  // Puts into `out`, in increasing index order, every point of the store whose X and Y lie in
  // `box`, together with some points near it (the rest of the cells the box touches); the caller
  // tests each exactly. False, with `out` untouched, when the box takes in every cell, so that
  // walking the whole store costs no more.
  bool pointsNear(const PointStore& points, const WorldBox& box, std::vector<int>& out);

  // Rebuilds now when the store changed since the last build.
  void update(const PointStore& points);
  int columns() const { return columns_; }
  int rows() const { return rows_; }

 private:
  void rebuild(const PointStore& points);
  int columnOf(double x) const;
  int rowOf(double y) const;

  const PointStore* store_ = nullptr;
  std::uint64_t builtAtChange_ = 0;
  int builtCount_ = -1;
  double minX_ = 0, minY_ = 0, cellWidth_ = 1, cellHeight_ = 1;
  int columns_ = 0, rows_ = 0;
  // Cell c (row-major) holds cellPoints_[cellStart_[c] .. cellStart_[c + 1]), in index order.
  std::vector<std::int32_t> cellStart_;
  std::vector<std::int32_t> cellPoints_;
  // One bit per point, set while a query gathers the points of its cells, so that they come out
  // in index order without sorting.
  std::vector<std::uint64_t> marks_;
};

}  // namespace merilon

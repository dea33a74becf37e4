#include "points/point_grid_index.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "points/point_store.h"

namespace merilon {
namespace {

// Bounds the grid's memory whatever the count of points.
constexpr double kMaxCells = 1 << 22;

}  // namespace

void PointGridIndex::update(const PointStore& points) {
  if (store_ == &points && builtAtChange_ == points.changeCount() &&
      builtCount_ == points.pointCount())
    return;
  rebuild(points);
}

void PointGridIndex::rebuild(const PointStore& points) {
  store_ = &points;
  builtAtChange_ = points.changeCount();
  builtCount_ = points.pointCount();
  const int n = builtCount_;
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double x = points.pointX[k], y = points.pointY[k];
    // A point without finite coordinates never shows, so it belongs to no cell.
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  cellStart_.clear();
  cellPoints_.clear();
  marks_.assign(static_cast<std::size_t>(n) / 64 + 1, 0);
  if (!(minX <= maxX)) {
    columns_ = rows_ = 0;
    return;
  }
  minX_ = minX;
  minY_ = minY;
  const double w = maxX - minX, h = maxY - minY;
  const double cells = std::clamp(std::floor(n / double{kPointsPerCell}), 1.0, kMaxCells);
  double columns = 1, rows = 1;
  if (w > 0 && h > 0 && std::isfinite(w / h)) {
    columns = std::clamp(std::round(std::sqrt(cells * (w / h))), 1.0, cells);
    rows = std::clamp(std::floor(cells / columns), 1.0, cells);
  } else if (w > 0) {
    columns = cells;
  } else if (h > 0) {
    rows = cells;
  }
  columns_ = static_cast<int>(columns);
  rows_ = static_cast<int>(rows);
  // Extents too wide for a double give infinite cells: every point then falls in the first one.
  cellWidth_ = w > 0 ? w / columns : 1;
  cellHeight_ = h > 0 ? h / rows : 1;

  const auto cellCount = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
  cellStart_.assign(cellCount + 1, 0);
  std::vector<std::int32_t> cellOf(static_cast<std::size_t>(n) + 1, -1);
  for (int i = 1; i <= n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double x = points.pointX[k], y = points.pointY[k];
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    const int c = rowOf(y) * columns_ + columnOf(x);
    cellOf[k] = c;
    ++cellStart_[static_cast<std::size_t>(c) + 1];
  }
  for (std::size_t c = 0; c < cellCount; ++c) cellStart_[c + 1] += cellStart_[c];
  cellPoints_.resize(static_cast<std::size_t>(cellStart_[cellCount]));
  std::vector<std::int32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  // Visiting the points in index order keeps each cell's list in index order.
  for (int i = 1; i <= n; ++i) {
    const std::int32_t c = cellOf[static_cast<std::size_t>(i)];
    if (c >= 0) cellPoints_[static_cast<std::size_t>(fill[static_cast<std::size_t>(c)]++)] = i;
  }
}

int PointGridIndex::columnOf(double x) const {
  const double t = (x - minX_) / cellWidth_;
  if (!(t >= 0)) return 0;
  return t >= columns_ ? columns_ - 1 : static_cast<int>(t);
}

int PointGridIndex::rowOf(double y) const {
  const double t = (y - minY_) / cellHeight_;
  if (!(t >= 0)) return 0;
  return t >= rows_ ? rows_ - 1 : static_cast<int>(t);
}

bool PointGridIndex::pointsNear(const PointStore& points, const WorldBox& box,
                                std::vector<int>& out) {
  if (std::isnan(box.minX) || std::isnan(box.minY) || std::isnan(box.maxX) || std::isnan(box.maxY))
    return false;
  update(points);
  out.clear();
  if (columns_ == 0) return true;
  if (box.maxX < minX_ || box.maxY < minY_) return true;
  const int c0 = columnOf(box.minX), c1 = columnOf(box.maxX);
  const int r0 = rowOf(box.minY), r1 = rowOf(box.maxY);
  if (c0 == 0 && r0 == 0 && c1 == columns_ - 1 && r1 == rows_ - 1) return false;
  // The columns c0..c1 of one row are one stretch of the cell lists.
  const auto stretch = [&](int r, std::size_t& from, std::size_t& to) {
    const auto first = static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_);
    from = static_cast<std::size_t>(cellStart_[first + static_cast<std::size_t>(c0)]);
    to = static_cast<std::size_t>(cellStart_[first + static_cast<std::size_t>(c1) + 1]);
  };
  std::size_t gathered = 0;
  for (int r = r0; r <= r1; ++r) {
    std::size_t from = 0, to = 0;
    stretch(r, from, to);
    gathered += to - from;
  }
  // Most of the points near: the exact test of every point costs no more than gathering them.
  if (gathered * 2 > cellPoints_.size()) return false;
  out.reserve(gathered);
  std::size_t lowWord = marks_.size(), highWord = 0;
  for (int r = r0; r <= r1; ++r) {
    std::size_t from = 0, to = 0;
    stretch(r, from, to);
    for (std::size_t p = from; p < to; ++p) {
      const auto i = static_cast<std::size_t>(cellPoints_[p]);
      marks_[i / 64] |= std::uint64_t{1} << (i % 64);
      lowWord = std::min(lowWord, i / 64);
      highWord = std::max(highWord, i / 64);
    }
  }
  for (std::size_t word = lowWord; word <= highWord && word < marks_.size(); ++word) {
    std::uint64_t bits = marks_[word];
    marks_[word] = 0;
    while (bits != 0) {
      out.push_back(static_cast<int>(word * 64 + static_cast<std::size_t>(std::countr_zero(bits))));
      bits &= bits - 1;
    }
  }
  return true;
}

}  // namespace merilon

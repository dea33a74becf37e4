#include "points/point_history.h"

#include "points/point_store.h"

namespace merilon {

PointRecord PointRecord::of(const PointStore& points, int i) {
  const auto k = static_cast<std::size_t>(i);
  PointRecord r;
  r.x = points.pointX[k];
  r.y = points.pointY[k];
  r.z = points.pointZ[k];
  r.name = points.pointName[k];
  r.type = points.pointType[k];
  r.chainage = points.pointChainage[k];
  r.offset = points.pointOffset[k];
  return r;
}

void PointRecord::storeInto(PointStore& points, int i) const {
  const auto k = static_cast<std::size_t>(i);
  // setPoint keeps the duplicate index right for a changed point as well as a new one.
  points.setPoint(i, x, y, z, name, type);
  points.pointChainage[k] = chainage;
  points.pointOffset[k] = offset;
}

void PointHistory::clear(bool saved) {
  steps_.clear();
  position_ = 0;
  savedPosition_ = saved ? 0 : -1;
}

void PointHistory::noteSaved(bool saved) {
  if (saved) savedPosition_ = static_cast<std::ptrdiff_t>(position_);
}

void PointHistory::push(Step step, bool saved) {
  noteSaved(saved);
  // A new change drops the steps that were undone.
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
  if (savedPosition_ > static_cast<std::ptrdiff_t>(position_)) savedPosition_ = -1;
  steps_.push_back(std::move(step));
  ++position_;
  if (steps_.size() > kDepth) {
    steps_.pop_front();
    --position_;
    savedPosition_ = savedPosition_ > 0 ? savedPosition_ - 1 : -1;
  }
}

void PointHistory::recordEdit(int index, const PointRecord& before, const PointRecord& after,
                              bool saved) {
  push(Step{false, index, before, after}, saved);
}

void PointHistory::recordAppend(int index, const PointRecord& point, bool saved) {
  push(Step{true, index, PointRecord{}, point}, saved);
}

bool PointHistory::undo(PointStore& points, bool& saved) {
  if (!canUndo()) return false;
  noteSaved(saved);
  const Step& s = steps_[position_ - 1];
  if (s.append) {
    // Appends are undone newest first, so the point is always the last one.
    if (points.pointCount() != s.index) return false;
    points.releaseLastPoint();
  } else {
    if (s.index > points.pointCount()) return false;
    s.before.storeInto(points, s.index);
  }
  --position_;
  saved = savedPosition_ == static_cast<std::ptrdiff_t>(position_);
  return true;
}

bool PointHistory::redo(PointStore& points, bool& saved) {
  if (!canRedo()) return false;
  noteSaved(saved);
  const Step& s = steps_[position_];
  if (s.append) {
    if (points.pointCount() + 1 != s.index || !points.reservePoint()) return false;
  } else if (s.index > points.pointCount()) {
    return false;
  }
  s.after.storeInto(points, s.index);
  ++position_;
  saved = savedPosition_ == static_cast<std::ptrdiff_t>(position_);
  return true;
}

}  // namespace merilon

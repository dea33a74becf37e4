// The undo history of the point tools: edits of single points and points appended by inserting
// or generating, undone and redone one at a time ("Cofnij", "Ponów"). The history knows which of
// its positions matches the last saved file, so that the saved flag follows undo and redo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "points/point_name.h"

namespace merilon {

class PointStore;

// The fields of one point that the point tools change.
struct PointRecord {
  double x = 0, y = 0, z = 0;
  PointName name;
  std::int32_t type = 0;
  double chainage = -99999999, offset = -99999999;

  static PointRecord of(const PointStore& points, int i);
  // Writes the record into point i (an existing point or a slot just reserved).
  void storeInto(PointStore& points, int i) const;
};

class PointHistory {
 public:
  // Steps kept; the oldest go first.
  static constexpr std::size_t kDepth = 1000;

  // Forgets everything (points opened or imported); `saved` tells whether the store now matches
  // a file.
  void clear(bool saved);

  // A change just made; `saved` is the store's saved flag from before the change.
  void recordEdit(int index, const PointRecord& before, const PointRecord& after, bool saved);
  void recordAppend(int index, const PointRecord& point, bool saved);

  bool canUndo() const { return position_ > 0; }
  bool canRedo() const { return position_ < steps_.size(); }
  std::size_t size() const { return steps_.size(); }

  // One step back or forward. `saved` is the store's saved flag, read before the step (a save
  // since the last step marks this position) and set after it. False when there was nothing to
  // do or the store could not take the point back (growth failure, reported by the store).
  bool undo(PointStore& points, bool& saved);
  bool redo(PointStore& points, bool& saved);

 private:
  struct Step {
    bool append = false;
    int index = 0;
    PointRecord before, after;
  };
  void push(Step step, bool saved);
  void noteSaved(bool saved);
  std::deque<Step> steps_;
  std::size_t position_ = 0;  // steps_[0..position_) are done
  // The position that matches the saved file; -1 when none does.
  std::ptrdiff_t savedPosition_ = 0;
};

}  // namespace merilon

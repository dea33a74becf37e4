// A hash grid of 0.01 m cells over the points' X and Y, so that the import's duplicate test
// finds the lowest-index point within 0.01 without scanning the whole store.
#pragma once

#include <cstdint>
#include <vector>

namespace merilon {

class DuplicateIndex {
 public:
  // Forgets everything; the next use rebuilds from the store.
  void invalidate() { valid_ = false; }
  bool valid() const { return valid_; }

  // Rebuilds the grid from points 1..count.
  void rebuild(const std::vector<double>& x, const std::vector<double>& y, int count);
  // Adds point `index`, which must be higher than every indexed point.
  void add(int index, double x, double y);
  int indexedCount() const { return indexedCount_; }

  // The lowest index i with |x − x[i]| < 0.01 and |y − y[i]| < 0.01, or 0 when none.
  int findFirstNear(double x, double y, const std::vector<double>& xs,
                    const std::vector<double>& ys) const;

 private:
  struct Slot {
    std::int64_t cx;
    std::int64_t cy;
    std::int32_t head;  // lowest index in the cell (0: empty slot)
    std::int32_t tail;  // highest index in the cell
  };
  static std::int64_t cellOf(double v);
  std::size_t slotFor(std::int64_t cx, std::int64_t cy) const;
  void grow();
  void insert(int index, std::int64_t cx, std::int64_t cy);

  std::vector<Slot> slots_;
  std::vector<std::int32_t> next_;  // next index in the same cell, ascending; 0 ends the chain
  std::size_t used_ = 0;
  int indexedCount_ = 0;
  bool valid_ = false;
};

}  // namespace merilon

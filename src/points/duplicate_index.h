// A hash grid of centimetre cells over the points' X and Y, so that the import's duplicate test
// finds the lowest-index point within 0.01 without scanning the whole store. Points on the
// centimetre grid go to a table of each cell's first point; the rare others (values not rounded,
// or beyond 32-bit units) to chains of every point of a cell.
#pragma once

#include <cstdint>
#include <vector>

#include "points/whole_cell_table.h"

namespace merilon {

class DuplicateIndex {
 public:
  // Forgets everything; the next use rebuilds from the store.
  void invalidate() { valid_ = false; }
  bool valid() const { return valid_; }

  // Rebuilds the grid from points 1..count of the coordinate arrays.
  void rebuild(const double* x, const double* y, int count);
  // Sizes the table for `count` points in all, so that it need not grow on the way.
  void expect(int count);
  // Adds point `index`, which must be higher than every indexed point.
  void add(int index, double x, double y);
  int indexedCount() const { return indexedCount_; }

  // The lowest index i whose X and Y are within 0.01 of x and y (`sameXY`), or 0 when none.
  int findFirstNear(double x, double y, const double* xs, const double* ys) const;
  // Starts fetching what findFirstNear(x, y) will read first: a hint, without any effect else.
  void prefetch(double x, double y) const;

 private:
  // An open-addressing slot: a fingerprint of the cell and the newest node of its chain. Cells
  // whose fingerprints coincide share a chain, which costs time only: every candidate is tested
  // exactly.
  struct Slot {
    std::uint32_t fingerprint;
    std::int32_t head;  // node (0: empty slot)
  };
  int scanCell(std::int64_t cx, std::int64_t cy, double x, double y, const double* xs,
               const double* ys) const;
  std::size_t slotFor(std::uint32_t fingerprint) const;
  void grow();
  void insert(int index, std::int64_t cx, std::int64_t cy);

  WholeCellTable whole_;
  std::vector<Slot> slots_;
  // Chain nodes: the point and the next (older) node of the same cell; node 0 ends a chain.
  struct Node {
    std::int32_t point;
    std::int32_t next;
  };
  void resizeTable(std::size_t size);
  std::vector<Node> nodes_;
  // Points whose X or Y lies beyond the grid (huge magnitudes); queries there scan every point.
  std::vector<std::int32_t> outside_;
  std::size_t used_ = 0;
  int indexedCount_ = 0;
  bool valid_ = false;
};

}  // namespace merilon

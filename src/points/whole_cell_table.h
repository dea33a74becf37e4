// The first point of each centimetre cell, for the points whose X and Y lie exactly on the
// centimetre grid (every imported point does). Two such points are within 0.01 of each other
// only when their cells are the same, and all points of one cell have the same X and Y, so the
// cell's first point answers every query: one probe of an open-addressing table whose slots hold
// the cell key itself, without reaching into the coordinate arrays.
#pragma once

#include <cstdint>
#include <vector>

namespace merilon {

class WholeCellTable {
 public:
  // A cell key for centimetre units cx, cy; false when a unit lies beyond 32 bits (the table
  // then does not hold the point).
  struct Key {
    std::uint32_t cx, cy;
    bool operator==(const Key&) const = default;
  };
  static bool keyOf(std::int64_t cx, std::int64_t cy, Key& key);

  void clear();
  // Sizes the table for `count` cells in all, so that it need not grow on the way.
  void expect(int count);
  // Records `point` for the cell unless the cell already has a (lower) point.
  void add(Key key, int point);
  // The cell's first point, or 0.
  int find(Key key) const;
  // Starts fetching the slot where `find(key)` begins, for a query that follows shortly.
  void prefetch(Key key) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(key)]);
  }

 private:
  // Twelve bytes: a million points fit a table of 24 MB at most half full.
  struct Slot {
    Key key;
    std::int32_t point;  // 0: empty slot
  };
  std::size_t home(Key key) const {
    const std::uint64_t k = (static_cast<std::uint64_t>(key.cx) << 32) | key.cy;
    return static_cast<std::size_t>((k * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  void resize(std::size_t size);

  std::vector<Slot> slots_;
  int shift_ = 64;
  std::size_t used_ = 0;
};

}  // namespace merilon

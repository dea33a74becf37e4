#include "points/duplicate_index.h"

#include <cmath>

#include "platform/memory_advice.h"
#include "points/coordinate_match.h"

namespace merilon {
namespace {

// A well-mixed 32-bit fingerprint of a cell; it alone also places the cell in the table.
std::uint32_t fingerprintOf(std::int64_t cx, std::int64_t cy) {
  std::uint64_t h = static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<std::uint64_t>(cy) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return static_cast<std::uint32_t>(h);
}

// The centimetre cells a value belongs to: its own for a whole value; the two around it for one
// off the grid, since a whole value on either side may lie within 0.01. False beyond the grid.
bool cellsOf(double v, std::int64_t& first, std::int64_t& last) {
  const GridValue g = gridValue(v, kCentimetres);
  if (g.whole) {
    first = last = g.units;
    return true;
  }
  if (!(std::fabs(g.scaled) < 1e15)) return false;
  first = static_cast<std::int64_t>(std::floor(g.scaled));
  last = first + 1;
  return true;
}

}  // namespace

std::size_t DuplicateIndex::slotFor(std::uint32_t fingerprint) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = fingerprint & mask;
  while (slots_[s].head != 0 && slots_[s].fingerprint != fingerprint) s = (s + 1) & mask;
  return s;
}

void DuplicateIndex::resizeTable(std::size_t size) {
  std::vector<Slot> old = std::move(slots_);
  slots_ = std::vector<Slot>();
  slots_.reserve(size);
  // Every query lands on a random slot: huge pages spare most address translations.
  if (size >= (1u << 18)) adviseHugePages(slots_.data(), size * sizeof(Slot));
  slots_.assign(size, Slot{0, 0});
  for (const Slot& s : old) {
    if (s.head != 0) slots_[slotFor(s.fingerprint)] = s;
  }
}

void DuplicateIndex::grow() { resizeTable(slots_.empty() ? 1024 : slots_.size() * 2); }

void DuplicateIndex::expect(int count) {
  // Imported points all lie on the grid; the chain table grows only for points off it.
  whole_.expect(count);
}

void DuplicateIndex::insert(int index, std::int64_t cx, std::int64_t cy) {
  if ((used_ + 1) * 4 > slots_.size() * 3) grow();
  const std::uint32_t fingerprint = fingerprintOf(cx, cy);
  Slot& s = slots_[slotFor(fingerprint)];
  if (s.head == 0) {
    s.fingerprint = fingerprint;
    ++used_;
  }
  nodes_.push_back(Node{index, s.head});
  s.head = static_cast<std::int32_t>(nodes_.size() - 1);
}

void DuplicateIndex::rebuild(const double* x, const double* y, int count) {
  // The tables keep their size: an import may have sized them for what it will add.
  slots_.assign(slots_.size(), Slot{0, 0});
  used_ = 0;
  nodes_.assign(1, Node{0, 0});
  outside_.clear();
  whole_.clear();
  expect(count);
  for (int i = 1; i <= count; ++i) add(i, x[i], y[i]);
  indexedCount_ = count;
  valid_ = true;
}

void DuplicateIndex::add(int index, double x, double y) {
  indexedCount_ = index;
  const GridValue gx = gridValue(x, kCentimetres);
  const GridValue gy = gridValue(y, kCentimetres);
  WholeCellTable::Key key{};
  if (gx.whole && gy.whole && WholeCellTable::keyOf(gx.units, gy.units, key)) {
    whole_.add(key, index);
    return;
  }
  std::int64_t x0, x1, y0, y1;
  if (cellsOf(x, x0, x1) && cellsOf(y, y0, y1)) {
    for (std::int64_t cx = x0; cx <= x1; ++cx) {
      for (std::int64_t cy = y0; cy <= y1; ++cy) insert(index, cx, cy);
    }
  } else {
    outside_.push_back(index);
  }
}

int DuplicateIndex::scanCell(std::int64_t cx, std::int64_t cy, double x, double y, const double* xs,
                             const double* ys) const {
  const Slot& s = slots_[slotFor(fingerprintOf(cx, cy))];
  int best = 0;
  // The chain runs from the newest point to the oldest; the lowest match is the last one.
  for (std::int32_t n = s.head; n != 0;) {
    const Node& node = nodes_[static_cast<std::size_t>(n)];
    if (sameXY(x, y, xs[node.point], ys[node.point])) best = node.point;
    n = node.next;
  }
  return best;
}

void DuplicateIndex::prefetch(double x, double y) const {
  const GridValue gx = gridValue(x, kCentimetres);
  const GridValue gy = gridValue(y, kCentimetres);
  WholeCellTable::Key key{};
  if (gx.whole && gy.whole && WholeCellTable::keyOf(gx.units, gy.units, key)) whole_.prefetch(key);
}

int DuplicateIndex::findFirstNear(double x, double y, const double* xs, const double* ys) const {
  if (indexedCount_ == 0) return 0;
  auto lower = [](int best, int i) { return i != 0 && (best == 0 || i < best) ? i : best; };
  const GridValue gx = gridValue(x, kCentimetres);
  const GridValue gy = gridValue(y, kCentimetres);
  WholeCellTable::Key key{};
  if (gx.whole && gy.whole && WholeCellTable::keyOf(gx.units, gy.units, key)) {
    // Of the points on the grid only those of the same cell match.
    const int best = whole_.find(key);
    return used_ == 0 ? best : lower(best, scanCell(gx.units, gy.units, x, y, xs, ys));
  }
  std::int64_t x0, x1, y0, y1;
  if (!cellsOf(x, x0, x1) || !cellsOf(y, y0, y1)) {
    // Values beyond the grid (past 1e13 m) are compared with each other only; the walk takes
    // the first match.
    for (int i : outside_) {
      if (sameXY(x, y, xs[i], ys[i])) return i;
    }
    return 0;
  }
  int best = 0;
  for (std::int64_t cx = x0; cx <= x1; ++cx) {
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
      // A cell's first point on the grid stands for all of its points on the grid, which share
      // its X and Y.
      if (WholeCellTable::keyOf(cx, cy, key)) {
        const int i = whole_.find(key);
        if (i != 0 && sameXY(x, y, xs[i], ys[i])) best = lower(best, i);
      }
      if (used_ != 0) best = lower(best, scanCell(cx, cy, x, y, xs, ys));
    }
  }
  return best;
}

}  // namespace merilon

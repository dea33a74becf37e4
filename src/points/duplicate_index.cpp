#include "points/duplicate_index.h"

#include <cmath>

namespace merilon {
namespace {

constexpr double kCellsPerMetre = 100.0;
constexpr double kTolerance = 0.01;
// Beyond this magnitude the cell arithmetic loses its meaning; such queries scan instead.
constexpr double kGridLimit = 1e11;

std::uint64_t mix(std::int64_t cx, std::int64_t cy) {
  std::uint64_t h = static_cast<std::uint64_t>(cx) * 0x9E3779B97F4A7C15ull;
  h ^= static_cast<std::uint64_t>(cy) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 32;
  return h;
}

}  // namespace

std::int64_t DuplicateIndex::cellOf(double v) {
  double q = v * kCellsPerMetre;
  if (!(q > -1e15)) q = -1e15;  // also catches NaN
  if (q > 1e15) q = 1e15;
  return static_cast<std::int64_t>(std::floor(q));
}

std::size_t DuplicateIndex::slotFor(std::int64_t cx, std::int64_t cy) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t s = static_cast<std::size_t>(mix(cx, cy)) & mask;
  while (slots_[s].head != 0 && (slots_[s].cx != cx || slots_[s].cy != cy)) s = (s + 1) & mask;
  return s;
}

void DuplicateIndex::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{0, 0, 0, 0});
  for (const Slot& s : old) {
    if (s.head != 0) slots_[slotFor(s.cx, s.cy)] = s;
  }
}

void DuplicateIndex::insert(int index, std::int64_t cx, std::int64_t cy) {
  if ((used_ + 1) * 2 > slots_.size()) grow();
  if (next_.size() <= static_cast<std::size_t>(index)) {
    next_.resize(std::max<std::size_t>(static_cast<std::size_t>(index) + 1, next_.size() * 3 / 2));
  }
  next_[static_cast<std::size_t>(index)] = 0;
  Slot& s = slots_[slotFor(cx, cy)];
  if (s.head == 0) {
    s = Slot{cx, cy, index, index};
    ++used_;
  } else {
    next_[static_cast<std::size_t>(s.tail)] = index;
    s.tail = index;
  }
}

void DuplicateIndex::rebuild(const std::vector<double>& x, const std::vector<double>& y,
                             int count) {
  slots_.clear();
  used_ = 0;
  next_.assign(static_cast<std::size_t>(count) + 1, 0);
  std::size_t size = 1024;
  while (size < static_cast<std::size_t>(count) * 2 + 2) size *= 2;
  slots_.assign(size, Slot{0, 0, 0, 0});
  for (int i = 1; i <= count; ++i) {
    insert(i, cellOf(x[static_cast<std::size_t>(i)]), cellOf(y[static_cast<std::size_t>(i)]));
  }
  indexedCount_ = count;
  valid_ = true;
}

void DuplicateIndex::add(int index, double x, double y) {
  insert(index, cellOf(x), cellOf(y));
  indexedCount_ = index;
}

int DuplicateIndex::findFirstNear(double x, double y, const std::vector<double>& xs,
                                  const std::vector<double>& ys) const {
  auto near = [&](int i) {
    return std::fabs(x - xs[static_cast<std::size_t>(i)]) < kTolerance &&
           std::fabs(y - ys[static_cast<std::size_t>(i)]) < kTolerance;
  };
  if (slots_.empty()) return 0;
  if (!(std::fabs(x) < kGridLimit && std::fabs(y) < kGridLimit)) {
    for (int i = 1; i <= indexedCount_; ++i) {
      if (near(i)) return i;
    }
    return 0;
  }
  // A match lies in the neighbouring cells; where the query sits within rounding reach of a
  // cell border, one more cell on that side is looked at so the result stays exact.
  auto range = [](double v, std::int64_t& lo, std::int64_t& hi) {
    const double q = v * kCellsPerMetre;
    const double f = std::floor(q);
    const double slack = std::fabs(q) * 1e-15 + 1e-9;
    lo = static_cast<std::int64_t>(f) - 1 - (q - f < slack ? 1 : 0);
    hi = static_cast<std::int64_t>(f) + 1 + (f + 1 - q < slack ? 1 : 0);
  };
  std::int64_t x0, x1, y0, y1;
  range(x, x0, x1);
  range(y, y0, y1);
  int best = 0;
  for (std::int64_t cx = x0; cx <= x1; ++cx) {
    for (std::int64_t cy = y0; cy <= y1; ++cy) {
      const Slot& s = slots_[slotFor(cx, cy)];
      for (int i = s.head; i != 0 && (best == 0 || i < best);
           i = next_[static_cast<std::size_t>(i)]) {
        if (near(i)) {
          best = i;
          break;
        }
      }
    }
  }
  return best;
}

}  // namespace merilon

#include "points/whole_cell_table.h"

#include <bit>
#include <limits>

#include "platform/memory_advice.h"

namespace merilon {

bool WholeCellTable::keyOf(std::int64_t cx, std::int64_t cy, Key& key) {
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  if (cx < lo || cx > hi || cy < lo || cy > hi) return false;
  key = Key{static_cast<std::uint32_t>(cx), static_cast<std::uint32_t>(cy)};
  return true;
}

void WholeCellTable::clear() {
  for (Slot& s : slots_) s.point = 0;
  used_ = 0;
}

void WholeCellTable::resize(std::size_t size) {
  std::vector<Slot> old = std::move(slots_);
  slots_ = std::vector<Slot>();
  slots_.reserve(size);
  // Every query lands on a random slot: huge pages spare most address translations.
  adviseHugePagesIfLarge(slots_.data(), size * sizeof(Slot));
  slots_.assign(size, Slot{{0, 0}, 0});
  shift_ = 64 - std::countr_zero(size);
  used_ = 0;
  for (const Slot& s : old) {
    if (s.point != 0) add(s.key, s.point);
  }
}

void WholeCellTable::expect(int count) {
  // At most half full: a probe rarely leaves the slot's cache line.
  std::size_t size = slots_.empty() ? 1024 : slots_.size();
  while (size < static_cast<std::size_t>(count) * 2) size *= 2;
  if (size > slots_.size()) resize(size);
}

void WholeCellTable::add(Key key, int point) {
  if (slots_.empty() || (used_ + 1) * 2 > slots_.size()) {
    resize(slots_.empty() ? 1024 : slots_.size() * 2);
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = home(key);; s = (s + 1) & mask) {
    Slot& slot = slots_[s];
    if (slot.point == 0) {
      slot = Slot{key, point};
      ++used_;
      return;
    }
    if (slot.key == key) return;
  }
}

int WholeCellTable::find(Key key) const {
  if (used_ == 0) return 0;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t s = home(key);; s = (s + 1) & mask) {
    const Slot& slot = slots_[s];
    if (slot.point == 0) return 0;
    if (slot.key == key) return slot.point;
  }
}

}  // namespace merilon

// How the stores grow: parallel arrays that gain a fixed step of room all together or not at all.
#pragma once

#include <algorithm>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/memory_advice.h"
#include "platform/number_text.h"
#include "points/numeric_helpers.h"

namespace merilon {

// An allocator whose growth leaves new elements of trivial types uninitialised, as the stores'
// arrays were in the program's past: room that is reserved but never written is never resident,
// so the cross-section work arrays cost no memory until a command fills them. Large blocks get
// huge pages, so that filling a million points costs few page faults.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    T* p = std::allocator<T>::allocate(n);
    adviseHugePagesIfLarge(p, n * sizeof(T));
    return p;
  }
  template <typename U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// The arrays of the point store and the other stores.
template <typename T>
using StoreArray = std::vector<T, UninitialisedAllocator<T>>;

// Sets the vector to n elements. Its storage grows geometrically underneath, so that growing in
// fixed steps does not copy the whole array each time; untouched reserve is not resident.
template <typename Vector>
void growTo(Vector& v, std::size_t n) {
  if (n > v.capacity()) v.reserve(std::max(n, v.capacity() + v.capacity() / 2));
  v.resize(n);
}

// Runs `resizeAll(newSize)`; when memory runs out (or the testing limit is passed), the arrays go
// back to `oldSize`, "Błąd, alokacji pamięci" shows `message` followed by the capacity asked
// for, and the result is false.
template <typename ResizeAll>
bool growAllOrNothing(Platform& platform, ResizeAll resizeAll, std::size_t oldSize,
                      std::size_t newSize, int newCapacity, int capacityLimitForTesting,
                      const std::string& message) {
  try {
    if (capacityLimitForTesting > 0 && newCapacity > capacityLimitForTesting)
      throw std::bad_alloc();
    resizeAll(newSize);
    return true;
  } catch (const std::bad_alloc&) {
    try {
      resizeAll(oldSize);
    } catch (...) {
      // Shrinking cannot need memory; nothing more to undo.
    }
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błąd, alokacji pamięci",
                message + formatInt(newCapacity));
    return false;
  }
}

}  // namespace merilon

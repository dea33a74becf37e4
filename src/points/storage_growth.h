// How the stores grow: parallel arrays that gain a fixed step of room all together or not at all.
#pragma once

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "platform/number_text.h"
#include "points/numeric_helpers.h"

namespace merilon {

// Sets the vector to n elements. Its storage grows geometrically underneath, so that growing in
// fixed steps does not copy the whole array each time; untouched reserve is not resident.
template <typename T>
void growTo(std::vector<T>& v, std::size_t n) {
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

// The 33 colours of the drawing window, indexed 1..33; any other index is black (entry 16).
#pragma once

#include <array>

#include "platform/canvas.h"

namespace merilon {

class ColourTable {
 public:
  static constexpr int kBlack = 16;
  static constexpr int kEntries = 33;
  ColourTable();
  Rgb operator[](int index) const {
    return colours_[static_cast<std::size_t>(index >= 1 && index <= kEntries ? index : kBlack)];
  }

 private:
  std::array<Rgb, kEntries + 1> colours_;
};

}  // namespace merilon

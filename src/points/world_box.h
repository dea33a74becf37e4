// A box of world coordinates, min <= max on both axes: what the spatial indexes of the points and
// of the underlay are asked about.
#pragma once

namespace merilon {

struct WorldBox {
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  bool meets(const WorldBox& o) const {
    return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
  }
};

}  // namespace merilon

#include "points/coordinate_match.h"

#include <cmath>

namespace merilon {

GridValue gridValue(double value, double scale) {
  GridValue g;
  g.scaled = value * scale;
  if (!(std::fabs(g.scaled) < 1e15)) return g;
  const double units = std::nearbyint(g.scaled);
  // Below 2^51 units the division and the product above round-trip, so a value equal to its
  // own rounding is exactly the decimal units / scale.
  if (units / scale == value) {
    g.whole = true;
    g.units = static_cast<std::int64_t>(units);
  }
  return g;
}

bool closerThan(const GridValue& a, const GridValue& b, std::int64_t limit) {
  if (a.whole && b.whole) {
    const std::int64_t d = a.units - b.units;
    return d < limit && -d < limit;
  }
  const double av = a.whole ? static_cast<double>(a.units) : a.scaled;
  const double bv = b.whole ? static_cast<double>(b.units) : b.scaled;
  return std::fabs(av - bv) < static_cast<double>(limit);
}

bool fartherThan(const GridValue& a, const GridValue& b, std::int64_t limit) {
  if (a.whole && b.whole) {
    const std::int64_t d = a.units - b.units;
    return d > limit || -d > limit;
  }
  const double av = a.whole ? static_cast<double>(a.units) : a.scaled;
  const double bv = b.whole ? static_cast<double>(b.units) : b.scaled;
  return std::fabs(av - bv) > static_cast<double>(limit);
}

bool sameXY(double x1, double y1, double x2, double y2) {
  return closerThan(gridValue(x1, kCentimetres), gridValue(x2, kCentimetres), 1) &&
         closerThan(gridValue(y1, kCentimetres), gridValue(y2, kCentimetres), 1);
}

bool sameHeight(double z1, double z2) {
  return closerThan(gridValue(z1, kMillimetres), gridValue(z2, kMillimetres), 10);
}

}  // namespace merilon

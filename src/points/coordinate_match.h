// The tolerance tests of the duplicate test (and of the point tools): rounded X and Y are whole
// centimetres and rounded Z whole millimetres, so they are compared as integers. A binary
// difference of two such values is often 0.00999…, which would make points exactly 0.01 apart
// match.
#pragma once

#include <cstdint>

namespace merilon {

// A coordinate seen in units of 1/scale metre: `whole` when the value lies on that grid (as every
// rounded value does), with `units` the integer; otherwise `scaled` is value × scale, and values
// too large for the grid (|value × scale| ≥ 1e15) or not finite are never whole.
struct GridValue {
  bool whole = false;
  std::int64_t units = 0;
  double scaled = 0;
};

inline constexpr double kCentimetres = 100;
inline constexpr double kMillimetres = 1000;

GridValue gridValue(double value, double scale);

// |a − b| < limit units: exact integers for whole values; for others the scaled difference, which
// is exact for any value of up to 15 significant digits.
bool closerThan(const GridValue& a, const GridValue& b, std::int64_t limit);

// |a − b| > limit units, by the same rules (the point tools' "moved more than 0.005" test).
bool fartherThan(const GridValue& a, const GridValue& b, std::int64_t limit);

// |x1 − x2| < 0.01 and |y1 − y2| < 0.01.
bool sameXY(double x1, double y1, double x2, double y2);
// |z1 − z2| < 0.01.
bool sameHeight(double z1, double z2);

}  // namespace merilon

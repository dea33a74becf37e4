#include "drawing/point_search.h"

#include <cmath>
#include <cstring>

#include "points/coordinate_match.h"

namespace merilon {
namespace {

// A value in millimetres: the integer for a value on the millimetre grid (as every rounded
// height is), else the scaled value.
double millimetres(double v) {
  const GridValue g = gridValue(v, kMillimetres);
  return g.whole ? static_cast<double>(g.units) : g.scaled;
}

bool contains(const PointName& name, std::string_view needle) {
  const std::size_t n = needle.size();
  if (n > name.length) return false;
  const char first = needle[0];
  const char* bytes = name.bytes.data();
  for (std::size_t k = 0; k + n <= name.length; ++k) {
    if (bytes[k] == first && std::memcmp(bytes + k + 1, needle.data() + 1, n - 1) == 0) return true;
  }
  return false;
}

}  // namespace

NearestPoint nearestPoint(const PointStore& points, double x, double y, double radius) {
  NearestPoint best;
  double bestDistance = radius;
  // The squared test only skips points that are clearly outside; the comparison itself is made
  // on distances, as the rule says.
  const double limit = radius * radius * (1 + 1e-9);
  const double* px = points.pointX.data();
  const double* py = points.pointY.data();
  const int n = points.pointCount();
  for (int i = 1; i <= n; ++i) {
    const double dx = px[i] - x, dy = py[i] - y;
    const double d2 = dx * dx + dy * dy;
    if (!(d2 < limit)) continue;
    const double d = std::sqrt(d2);
    if (d < bestDistance) {
      bestDistance = d;
      best.index = i;
      best.distance = d;
    }
  }
  return best;
}

int findBySymbol(const PointStore& points, std::string_view needle, int start) {
  if (needle.empty() || needle.size() > PointName::kMaxLength) return 0;
  const PointName* names = points.pointName.data();
  for (int i = start < 1 ? 1 : start; i <= points.pointCount(); ++i) {
    if (contains(names[i], needle)) return i;
  }
  return 0;
}

int findByHeight(const PointStore& points, double z, double tolerance, int start) {
  const double lo = millimetres(z) - millimetres(tolerance) / 2;
  const double hi = lo + millimetres(tolerance);
  // Beyond the exactness of the grid no height can match; a coarse window in metres skips the
  // conversion of most points.
  const double loMetres = z - tolerance / 2 - 0.001, hiMetres = z + tolerance / 2 + 0.001;
  const double* pz = points.pointZ.data();
  for (int i = start < 1 ? 1 : start; i <= points.pointCount(); ++i) {
    if (pz[i] < loMetres || pz[i] > hiMetres) continue;
    const double v = millimetres(pz[i]);
    if (v >= lo && v <= hi) return i;
  }
  return 0;
}

}  // namespace merilon

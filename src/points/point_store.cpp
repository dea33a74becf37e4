#include "points/point_store.h"

#include <cmath>
#include <new>
#include <utility>

#include "platform/number_text.h"
#include "points/coordinate_match.h"
#include "points/numeric_helpers.h"
#include "points/storage_growth.h"

namespace merilon {

PointStore::PointStore(Platform& platform) : platform_(platform) {}

bool PointStore::initialise() {
  pointCapacity_ = 1000;
  pointCount_ = 0;
  return growPointStore();
}

void PointStore::resizeAll(std::size_t n) {
  growTo(pointX, n);
  growTo(pointY, n);
  growTo(pointZ, n);
  growTo(pointName, n);
  growTo(pointType, n);
  growTo(pointChainage, n);
  growTo(pointOffset, n);
  growTo(pointLayerDepth, n);
  growTo(pointUseFlag, n);
  growTo(pointAxisFlag, n);
  growTo(pointOrder, n);
}

bool PointStore::growPointStore() {
  const int newCapacity = pointCapacity_ + kGrowthStep;
  if (!growAllOrNothing(
          platform_, [this](std::size_t n) { resizeAll(n); }, pointX.size(),
          static_cast<std::size_t>(newCapacity), newCapacity, capacityLimitForTesting,
          "Brak pamięci dla obliczeń punktów")) {
    return false;
  }
  pointCapacity_ = newCapacity;
  return true;
}

void PointStore::expectPoints(int count) {
  if (count < pointCapacity_) return;
  // The capacity the documented steps reach for `count` points.
  const auto n = static_cast<std::size_t>(
      pointCapacity_ + ((count - pointCapacity_) / kGrowthStep + 1) * kGrowthStep);
  try {
    for (auto* v : {&pointX, &pointY, &pointZ, &pointChainage, &pointOffset, &pointLayerDepth}) {
      v->reserve(n);
    }
    for (auto* v : {&pointType, &pointUseFlag, &pointAxisFlag, &pointOrder}) v->reserve(n);
    pointName.reserve(n);
    duplicates_.expect(count);
  } catch (const std::bad_alloc&) {
    // The steps themselves will tell when memory runs out.
  }
}

void PointStore::clearPoints() {
  pointCount_ = 0;
  ++changeCount_;
  duplicates_.invalidate();
}

bool PointStore::reservePoint() {
  ++changeCount_;
  ++pointCount_;
  if (pointCount_ >= pointCapacity_ && !growPointStore()) {
    --pointCount_;
    return false;
  }
  return true;
}

void PointStore::releaseLastPoint() {
  if (pointCount_ == 0) return;
  --pointCount_;
  ++changeCount_;
  duplicates_.invalidate();
}

void PointStore::setPoint(int i, double x, double y, double z, const PointName& name,
                          std::int32_t type) {
  const auto k = static_cast<std::size_t>(i);
  ++changeCount_;
  pointX[k] = x;
  pointY[k] = y;
  pointZ[k] = z;
  pointName[k] = name;
  pointType[k] = type;
  if (duplicates_.valid()) {
    if (i == duplicates_.indexedCount() + 1) {
      duplicates_.add(i, x, y);
    } else {
      duplicates_.invalidate();
    }
  }
}

NewPointCheck PointStore::checkNewPoint(int recordNumber, double x, double y, double z,
                                        std::string_view recordLine,
                                        const std::function<void(const std::string&)>& log) {
  if (!duplicates_.valid() || duplicates_.indexedCount() != pointCount_) {
    duplicates_.rebuild(pointX.data(), pointY.data(), pointCount_);
  }
  NewPointCheck result{true, pointCount_ + 1};
  const int i = duplicates_.findFirstNear(x, y, pointX.data(), pointY.data());
  if (i == 0) return result;
  if (sameHeight(z, pointZ[static_cast<std::size_t>(i)])) {
    return NewPointCheck{false, i};
  }
  if (log) {
    log("* Dwa punkty z rekordu: " + formatInt(recordNumber) + " i punkt nr " + formatInt(i) +
        " o takich samych współrzędnych X i Y i różnym Z: " + std::string(recordLine) + " i " +
        formatGeneral(pointZ[static_cast<std::size_t>(i)]));
  }
  return result;
}

void PointStore::computePointExtents() {
  extents = PointExtents{};
  for (int i = 1; i <= pointCount_; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (pointX[k] < extents.minX) extents.minX = pointX[k];
    if (pointY[k] < extents.minY) extents.minY = pointY[k];
    if (pointZ[k] < extents.minZ) extents.minZ = pointZ[k];
    if (pointX[k] > extents.maxX) extents.maxX = pointX[k];
    if (pointY[k] > extents.maxY) extents.maxY = pointY[k];
    if (pointZ[k] > extents.maxZ) extents.maxZ = pointZ[k];
  }
}

void PointStore::sortPointOrder(int lo, int hi) {
  // Hoare partitioning with the middle element's key as pivot; recursion on the smaller side
  // only, so that sorted runs cannot exhaust the stack.
  while (lo < hi) {
    const double pivot = pointChainage[static_cast<std::size_t>(
        pointOrder[static_cast<std::size_t>((lo + hi) / 2)])];
    int i = lo;
    int j = hi;
    auto key = [&](int k) {
      return pointChainage[static_cast<std::size_t>(pointOrder[static_cast<std::size_t>(k)])];
    };
    do {
      while (key(i) < pivot) ++i;
      while (pivot < key(j)) --j;
      if (i <= j) {
        std::swap(pointOrder[static_cast<std::size_t>(i)], pointOrder[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) sortPointOrder(lo, j);
      lo = i;
    } else {
      if (i < hi) sortPointOrder(i, hi);
      hi = j;
    }
  }
}

std::string defaultPointName(int index) {
  std::string digits = formatInt(index < 0 ? -static_cast<long long>(index) : index);
  if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
  return (index < 0 ? "P-" : "P") + digits;
}

}  // namespace merilon

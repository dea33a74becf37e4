// The one set of survey points the program works on ("Punkty"): parallel arrays indexed
// 1..pointCount (index 0 unused), grown in steps of 5000, with the cross-section work arrays
// sized alongside.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "points/duplicate_index.h"
#include "points/point_name.h"
#include "points/storage_growth.h"

namespace merilon {

class Platform;

struct PointExtents {
  double minX = 99999999, minY = 99999999, minZ = 99999999;
  double maxX = -99999999, maxY = -99999999, maxZ = -99999999;
};

// Outcome of the import's duplicate test.
struct NewPointCheck {
  bool accept = true;
  int index = 0;  // the new index when accepted as new; the matching point when rejected
};

class PointStore {
 public:
  static constexpr int kGrowthStep = 5000;

  explicit PointStore(Platform& platform);

  StoreArray<double> pointX, pointY, pointZ;
  StoreArray<PointName> pointName;
  StoreArray<std::int32_t> pointType;
  // Work arrays of the cross-section generator and the point tools.
  StoreArray<double> pointChainage, pointOffset, pointLayerDepth;
  StoreArray<std::int32_t> pointUseFlag, pointAxisFlag, pointOrder;

  PointExtents extents;

  int pointCount() const { return pointCount_; }
  int pointCapacity() const { return pointCapacity_; }

  // Start-up: capacity 1000 and one growth step.
  bool initialise();

  void clearPoints();
  // Adds one slot at the end (growing when the count reaches the capacity); false when growth
  // failed, with the count unchanged.
  bool reservePoint();
  // Takes back the last slot (a point tool that reserved one and then stored nothing).
  void releaseLastPoint();
  // Adds 5000 to the capacity, all arrays or none; shows the failure message.
  bool growPointStore();
  // Makes room underneath for `count` points in all, so that an import of that many grows its
  // arrays in the documented steps without moving them (which would also make untouched work
  // arrays resident). Only a hint: nothing happens when the memory is not there.
  void expectPoints(int count);

  // Fills point i (the one just reserved) in one go, keeping the duplicate index current.
  void setPoint(int i, double x, double y, double z, const PointName& name, std::int32_t type);
  // Tells the store that coordinates of existing points changed outside setPoint: every write
  // to pointX or pointY other than through setPoint must be followed by this call.
  void coordinatesChanged() {
    duplicates_.invalidate();
    ++changeCount_;
  }
  // Grows with every change of the points through the store (a slot added, a point set, the
  // store cleared, coordinates changed), so that indexes built from the points know when to
  // build again.
  std::uint64_t changeCount() const { return changeCount_; }

  // The import's duplicate test; `recordLine` is the record's whole text for the log line.
  // `log` receives the line about a point of equal X, Y and another height.
  NewPointCheck checkNewPoint(int recordNumber, double x, double y, double z,
                              std::string_view recordLine,
                              const std::function<void(const std::string&)>& log);

  // Tells the store that checkNewPoint(x, y) follows shortly, so that what the test reads can be
  // fetched from memory meanwhile. Only a hint.
  void prefetchNewPoint(double x, double y) const { duplicates_.prefetch(x, y); }

  void computePointExtents();
  void sortPointOrder(int lo, int hi);

  // Testing seam: growth beyond this capacity fails as if memory ran out (0: no limit).
  int capacityLimitForTesting = 0;

 private:
  void resizeAll(std::size_t n);
  Platform& platform_;
  int pointCount_ = 0;
  int pointCapacity_ = 0;
  std::uint64_t changeCount_ = 0;
  DuplicateIndex duplicates_;
};

// "P%.5d" of the index: P00007, P123456.
std::string defaultPointName(int index);

}  // namespace merilon

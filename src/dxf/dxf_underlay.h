// The DXF underlay of the drawing window: a map drawing's points, lines, texts and arcs held as
// a table of elements in parallel arrays, drawn behind the survey and never edited or saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dxf/underlay_index.h"

namespace merilon {

enum UnderlayKind : std::uint16_t {
  kUnderlayPoint = 0,  // a1, a2 the point (a3, a4 repeat it)
  kUnderlayLine = 1,   // from (a1, a2) to (a3, a4)
  kUnderlayText = 2,   // at (a1, a2), a3 angle in radians, a4 height; reference: text table
  kUnderlayArc = 3,    // centre (a1, a2), a3 start and a4 end angle in radians; reference: radius
};

class DxfUnderlay {
 public:
  // Every table grows by this many entries when its counter reaches its capacity.
  static constexpr int kGrowthStep = 5000;

  bool underlayShown = false;
  // The file last chosen for "Podczytaj dxf"; the open dialog starts in its folder.
  std::filesystem::path underlayFileName;
  // True while a load rewrites the table (a redraw meanwhile leaves the underlay out).
  bool loading = false;

  // The element table, indices 1..elementCount (index 0 unused); all columns grow together.
  std::vector<std::uint16_t> elementKind;
  std::vector<double> elementA1, elementA2, elementA3, elementA4;
  std::vector<std::int32_t> elementReference;
  int elementCount = 0;
  int elementCapacity = 0;
  // The side tables, indices 1..count. Their counters go on across loads.
  std::vector<std::string> textTable;
  int textCount = 0, textCapacity = 0;
  std::vector<double> radiusTable;
  int radiusCount = 0, radiusCapacity = 0;
  // The most entries a table may hold; a growth beyond it fails as an allocation would.
  int tableLimit = 2000000000;

  // Appends one element, growing the tables when needed; a text or an arc also takes the next
  // index of its side table as its reference. False (nothing stored) when a table cannot grow.
  bool addElement(std::uint16_t kind, double a1, double a2, double a3, double a4);
  bool addText(double x, double y, double angle, double height, std::string text);
  bool addArc(double cx, double cy, double start, double end, double radius);

  // A new load starts writing at index 1 again.
  void restartElements();
  // Tells the index that the elements changed.
  void touch() { ++revision_; }

  // The buckets of the elements, built afresh when the elements changed since.
  const UnderlayIndex& index();

  const std::string& text(int element) const {
    return textTable[static_cast<std::size_t>(elementReference[static_cast<std::size_t>(element)])];
  }
  double radius(int element) const {
    return radiusTable[static_cast<std::size_t>(
        elementReference[static_cast<std::size_t>(element)])];
  }

 private:
  // Grows a table of `count` used entries to one more step when it is full.
  bool roomFor(int count, int& capacity);
  std::uint64_t revision_ = 0;
  std::uint64_t indexRevision_ = ~std::uint64_t{0};
  UnderlayIndex index_;
};

}  // namespace merilon

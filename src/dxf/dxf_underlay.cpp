#include "dxf/dxf_underlay.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/cp1250.h"

namespace merilon {

bool DxfUnderlay::roomFor(int count, int& capacity) {
  return count < capacity || capacity <= tableLimit - kGrowthStep;
}

bool DxfUnderlay::addElement(std::uint16_t kind, double a1, double a2, double a3, double a4) {
  const bool text = kind == kUnderlayText, arc = kind == kUnderlayArc;
  if (!roomFor(elementCount, elementCapacity) || (text && !roomFor(textCount, textCapacity)) ||
      (arc && !roomFor(radiusCount, radiusCapacity))) {
    return false;
  }
  try {
    // A vector grows its storage geometrically underneath, so the steps cost no copying of
    // the whole table each time.
    if (text && textCount == textCapacity) {
      textTable.resize(static_cast<std::size_t>(textCapacity + kGrowthStep) + 1);
      textCapacity += kGrowthStep;
    }
    if (arc && radiusCount == radiusCapacity) {
      radiusTable.resize(static_cast<std::size_t>(radiusCapacity + kGrowthStep) + 1);
      radiusCapacity += kGrowthStep;
    }
    if (elementCount == elementCapacity) {
      const std::size_t n = static_cast<std::size_t>(elementCapacity + kGrowthStep) + 1;
      elementKind.resize(n);
      elementA1.resize(n);
      elementA2.resize(n);
      elementA3.resize(n);
      elementA4.resize(n);
      elementReference.resize(n);
      elementCapacity += kGrowthStep;
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  const auto i = static_cast<std::size_t>(++elementCount);
  elementKind[i] = kind;
  elementA1[i] = a1;
  elementA2[i] = a2;
  elementA3[i] = a3;
  elementA4[i] = a4;
  elementReference[i] = text ? ++textCount : arc ? ++radiusCount : 0;
  touch();
  return true;
}

bool DxfUnderlay::addText(double x, double y, double angle, double height, std::string text) {
  if (!addElement(kUnderlayText, x, y, angle, height)) return false;
  textTable[static_cast<std::size_t>(textCount)] = std::move(text);
  return true;
}

bool DxfUnderlay::addArc(double cx, double cy, double start, double end, double radius) {
  if (!addElement(kUnderlayArc, cx, cy, start, end)) return false;
  radiusTable[static_cast<std::size_t>(radiusCount)] = radius;
  return true;
}

void DxfUnderlay::restartElements() {
  elementCount = 0;
  touch();
}

const UnderlayIndex& DxfUnderlay::index() {
  if (indexRevision_ == revision_) return index_;
  std::vector<WorldBox> boxes(static_cast<std::size_t>(elementCount) + 1);
  for (int e = 1; e <= elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    const double a1 = elementA1[i], a2 = elementA2[i], a3 = elementA3[i], a4 = elementA4[i];
    WorldBox& b = boxes[i];
    switch (elementKind[i]) {
      case kUnderlayLine:
        b = {std::min(a1, a3), std::min(a2, a4), std::max(a1, a3), std::max(a2, a4)};
        break;
      case kUnderlayText: {
        // No glyph is wider than twice the text's height; the text may turn any way.
        const double reach = std::fabs(a4) * (2.0 * static_cast<double>(utf8Length(text(e))) + 2.0);
        b = {a1 - reach, a2 - reach, a1 + reach, a2 + reach};
        break;
      }
      case kUnderlayArc: {
        const double r = std::fabs(radius(e));
        b = {a1 - r, a2 - r, a1 + r, a2 + r};
        break;
      }
      default:
        b = {a1, a2, a1, a2};
        break;
    }
  }
  index_.build(boxes);
  indexRevision_ = revision_;
  return index_;
}

}  // namespace merilon

// Fuzz target: any bytes as a DXF drawing loaded into the underlay through the pair reader, then
// drawn at the drawing's whole extent and zoomed into its middle, as the drawing window would.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/underlay_drawing.h"
#include "dxf/dxf_pair_reader.h"
#include "dxf/dxf_underlay_reader.h"
#include "fuzz_program.h"

namespace {

// A canvas that draws nothing and measures every character as 8 pixels.
class NullCanvas : public merilon::Canvas {
 public:
  int width() const override { return 640; }
  int height() const override { return 400; }
  int fontPixelsPerInch() const override { return 96; }
  void setPen(merilon::Rgb, int, merilon::PenStyle) override {}
  void setPenMode(merilon::PenMode) override {}
  void setBrush(merilon::Rgb, bool) override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override { ++lines; }
  void rectangle(int, int, int, int) override {}
  void setFont(const std::string&, int) override {}
  int textWidth(const std::string& text) override { return static_cast<int>(text.size()) * 8; }
  int maxCharWidth() override { return 8; }
  void drawText(int, int, const std::string&, merilon::Rgb, int) override {}
  void drawMarkers(std::span<const merilon::Marker>) override {}
  long lines = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace merilon;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DxfUnderlay underlay;
  // Now and then the tables may not grow beyond their first step.
  if (size > 0 && data[0] % 3 == 0) underlay.tableLimit = DxfUnderlay::kGrowthStep;
  DxfPairReader reader;
  reader.openBytes(bytes);
  UnderlayReadHooks hooks;
  hooks.log = [](const std::string&) {};
  hooks.progressEvery = 64;
  // Stops now and then, as "Przerwij" answered Yes would.
  hooks.progress = [size](std::uintmax_t read) { return size > 0 && read * 7 / size == 5; };
  readUnderlay(reader, underlay, hooks);
  for (int e = 1; e <= underlay.elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    const int ref = underlay.elementReference[i];
    const int kind = underlay.elementKind[i];
    if (kind > kUnderlayArc) fuzzing::propertyFailed("unknown element kind");
    if (kind == kUnderlayText && (ref < 1 || ref > underlay.textCount))
      fuzzing::propertyFailed("text reference outside the text table");
    if (kind == kUnderlayArc && (ref < 1 || ref > underlay.radiusCount))
      fuzzing::propertyFailed("arc reference outside the radius table");
  }
  if (underlay.elementCount == 0) return 0;
  // The box of the first element's corner points sets the views.
  double minX = underlay.elementA1[1], maxX = minX, minY = underlay.elementA2[1], maxY = minY;
  for (int e = 1; e <= underlay.elementCount; ++e) {
    const auto i = static_cast<std::size_t>(e);
    minX = std::min(minX, underlay.elementA1[i]);
    maxX = std::max(maxX, underlay.elementA1[i]);
    minY = std::min(minY, underlay.elementA2[i]);
    maxY = std::max(maxY, underlay.elementA2[i]);
  }
  underlay.underlayShown = true;
  NullCanvas canvas;
  ViewTransform view;
  view.viewWidth = canvas.width();
  view.viewHeight = canvas.height();
  DrawTarget target(view);
  target.canvas = &canvas;
  target.setClipToView();
  const double span = std::max(maxX - minX, maxY - minY);
  for (double zoom : {1.0, 1000.0}) {
    const double scale = span > 0 && std::isfinite(span) ? 600 / span * zoom : zoom;
    view.scaleX = view.scaleY = std::isfinite(scale) && scale > 0 ? scale : 1;
    view.originX = minX / 2 + maxX / 2 - 300 / view.scaleX;
    view.originY = minY / 2 + maxY / 2 - 200 / view.scaleY;
    view.setAngle(data[size - 1] / 40.0);
    drawUnderlay(target, underlay, [] { return true; });
  }
  return 0;
}

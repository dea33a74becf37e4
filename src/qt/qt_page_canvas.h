// A printer's page as a canvas. Its size and font resolution come from the device at once; the
// painting begins with the first thing drawn, so a document dropped before anything was drawn
// (a print at scale cancelled) leaves no print job and no file behind.
#pragma once

#include <QPagedPaintDevice>
#include <memory>

#include "qt_canvas.h"

namespace merilon::qt {

class QtPageCanvas : public Canvas {
 public:
  explicit QtPageCanvas(QPagedPaintDevice& device) : device_(device) {}

  // True once painting has begun on the device.
  bool begun() const { return canvas_ != nullptr; }
  // Ends the page (an empty page when nothing was drawn); false when the device could not be
  // painted on or reported a failure.
  bool finish();
  // Ends the page and begins the next one of the same document; false when the device could
  // not be painted on.
  bool newPage();

  int width() const override { return device_.width(); }
  int height() const override { return device_.height(); }
  int fontPixelsPerInch() const override;
  void setPen(Rgb colour, int width, PenStyle style) override;
  void setPenMode(PenMode mode) override;
  void setBrush(Rgb colour, bool solid) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void rectangle(int x1, int y1, int x2, int y2) override;
  void setFont(const std::string& family, int sizePoints) override;
  int textWidth(const std::string& text) override;
  int maxCharWidth() override;
  void drawText(int x, int y, const std::string& text, Rgb colour, int escapement) override;
  void drawMarkers(std::span<const Marker> markers) override;

 private:
  // The canvas painting on the device, begun at the first call; nullptr when it cannot begin.
  QtCanvas* page();
  QPagedPaintDevice& device_;
  std::unique_ptr<QtCanvas> canvas_;
};

}  // namespace merilon::qt

// A canvas that records what is drawn, with deterministic text metrics: 96 pixels per inch (unless
// told otherwise) and every character as wide as the font's size in points.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace merilon::testing {

struct CanvasOp {
  enum Kind { Line, Rectangle, Text, Marker } kind = Line;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Rgb pen;  // pen colour (text colour for texts, outline for markers)
  int penWidth = 1;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
  bool brushSolid = true;
  Rgb brush;
  std::string text;
  int fontSize = 0;
  int escapement = 0;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int w, int h) : width_(w), height_(h) {}
  std::vector<CanvasOp> ops;
  int presents = 0;

  int width() const override { return width_; }
  int height() const override { return height_; }
  void resize(int w, int h) {
    width_ = w;
    height_ = h;
  }
  int ppi = 96;
  int fontPixelsPerInch() const override { return ppi; }
  void setPen(Rgb colour, int width, PenStyle style) override {
    pen_ = colour;
    penWidth_ = width;
    style_ = style;
  }
  void setPenMode(PenMode mode) override { mode_ = mode; }
  void setBrush(Rgb colour, bool solid) override {
    brush_ = colour;
    brushSolid_ = solid;
  }
  void moveTo(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void lineTo(int x, int y) override;
  void rectangle(int x1, int y1, int x2, int y2) override;
  void setFont(const std::string&, int sizePoints) override { fontSize_ = sizePoints; }
  int textWidth(const std::string& text) override;
  int maxCharWidth() override { return fontSize_; }
  void drawText(int x, int y, const std::string& text, Rgb colour, int escapement) override;
  void drawMarkers(std::span<const Marker> markers) override;
  void present() override { ++presents; }

  // The operations of one kind, or whose text is `text`.
  std::vector<CanvasOp> of(CanvasOp::Kind kind) const;
  const CanvasOp* findText(const std::string& text) const;

 private:
  CanvasOp op(CanvasOp::Kind kind) const;
  int width_, height_;
  Rgb pen_, brush_{255, 255, 255};
  int penWidth_ = 1;
  PenStyle style_ = PenStyle::Solid;
  PenMode mode_ = PenMode::Copy;
  bool brushSolid_ = true;
  int fontSize_ = 10;
  int x_ = 0, y_ = 0;
};

}  // namespace merilon::testing

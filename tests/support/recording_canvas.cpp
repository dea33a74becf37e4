#include "support/recording_canvas.h"

namespace merilon::testing {

CanvasOp RecordingCanvas::op(CanvasOp::Kind kind) const {
  CanvasOp o;
  o.kind = kind;
  o.pen = pen_;
  o.penWidth = penWidth_;
  o.style = style_;
  o.mode = mode_;
  o.brush = brush_;
  o.brushSolid = brushSolid_;
  o.fontSize = fontSize_;
  return o;
}

void RecordingCanvas::lineTo(int x, int y) {
  CanvasOp o = op(CanvasOp::Line);
  o.x1 = x_;
  o.y1 = y_;
  o.x2 = x;
  o.y2 = y;
  ops.push_back(o);
  x_ = x;
  y_ = y;
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
  CanvasOp o = op(CanvasOp::Rectangle);
  o.x1 = x1;
  o.y1 = y1;
  o.x2 = x2;
  o.y2 = y2;
  ops.push_back(o);
}

int RecordingCanvas::textWidth(const std::string& text) {
  int chars = 0;
  for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
  return chars * fontSize_;
}

void RecordingCanvas::drawText(int x, int y, const std::string& text, Rgb colour, int escapement) {
  CanvasOp o = op(CanvasOp::Text);
  o.x1 = x;
  o.y1 = y;
  o.pen = colour;
  o.text = text;
  o.escapement = escapement;
  ops.push_back(o);
}

void RecordingCanvas::drawMarkers(std::span<const Marker> markers) {
  for (const Marker& m : markers) {
    CanvasOp o = op(CanvasOp::Marker);
    o.x1 = m.x;
    o.y1 = m.y;
    o.pen = m.colour;
    ops.push_back(o);
  }
}

std::vector<CanvasOp> RecordingCanvas::of(CanvasOp::Kind kind) const {
  std::vector<CanvasOp> r;
  for (const CanvasOp& o : ops) {
    if (o.kind == kind) r.push_back(o);
  }
  return r;
}

const CanvasOp* RecordingCanvas::findText(const std::string& text) const {
  for (const CanvasOp& o : ops) {
    if (o.kind == CanvasOp::Text && o.text == text) return &o;
  }
  return nullptr;
}

}  // namespace merilon::testing

#include "qt_page_canvas.h"

namespace merilon::qt {

QtCanvas* QtPageCanvas::page() {
  if (!canvas_) canvas_ = std::make_unique<QtCanvas>(device_);
  return canvas_->active() ? canvas_.get() : nullptr;
}

bool QtPageCanvas::finish() {
  QtCanvas* canvas = page();
  return canvas && canvas->end();
}

bool QtPageCanvas::newPage() { return page() && device_.newPage(); }

int QtPageCanvas::fontPixelsPerInch() const {
  return device_.logicalDpiY() > 0 ? device_.logicalDpiY() : 96;
}

void QtPageCanvas::setPen(Rgb colour, int width, PenStyle style) {
  if (QtCanvas* c = page()) c->setPen(colour, width, style);
}

void QtPageCanvas::setPenMode(PenMode mode) {
  if (QtCanvas* c = page()) c->setPenMode(mode);
}

void QtPageCanvas::setBrush(Rgb colour, bool solid) {
  if (QtCanvas* c = page()) c->setBrush(colour, solid);
}

void QtPageCanvas::moveTo(int x, int y) {
  if (QtCanvas* c = page()) c->moveTo(x, y);
}

void QtPageCanvas::lineTo(int x, int y) {
  if (QtCanvas* c = page()) c->lineTo(x, y);
}

void QtPageCanvas::rectangle(int x1, int y1, int x2, int y2) {
  if (QtCanvas* c = page()) c->rectangle(x1, y1, x2, y2);
}

void QtPageCanvas::setFont(const std::string& family, int sizePoints) {
  if (QtCanvas* c = page()) c->setFont(family, sizePoints);
}

int QtPageCanvas::textWidth(const std::string& text) {
  QtCanvas* c = page();
  return c ? c->textWidth(text) : 0;
}

int QtPageCanvas::maxCharWidth() {
  QtCanvas* c = page();
  return c ? c->maxCharWidth() : 1;
}

void QtPageCanvas::drawText(int x, int y, const std::string& text, Rgb colour, int escapement) {
  if (QtCanvas* c = page()) c->drawText(x, y, text, colour, escapement);
}

void QtPageCanvas::drawMarkers(std::span<const Marker> markers) {
  if (QtCanvas* c = page()) c->drawMarkers(markers);
}

}  // namespace merilon::qt

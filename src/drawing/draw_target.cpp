#include "drawing/draw_target.h"

#include <algorithm>
#include <numbers>

namespace merilon {

void DrawTarget::setClipToView() {
  labelFontSize_ = -1;
  pen.window =
      ClipWindow{0, 0, static_cast<double>(view_.viewWidth), static_cast<double>(view_.viewHeight)};
}

void DrawTarget::applyPen() {
  if (canvas) canvas->setPen(penColour, penWidth, penStyle);
}

void DrawTarget::clearTarget() {
  if (!canvas) return;
  if (printMode == 0) canvas->setPenMode(PenMode::Copy);
  canvas->setPen(backgroundColour, 1, PenStyle::Invisible);
  canvas->setBrush(backgroundColour, true);
  canvas->rectangle(0, 0, canvas->width() + 1, canvas->height() + 1);
  penStyle = PenStyle::Solid;
  applyPen();
  canvas->setBrush(penColour, true);
}

void DrawTarget::setPenWidth(int w) {
  penWidth = std::min(w, 200);
  applyPen();
}

void DrawTarget::setPenStyle(int n) {
  n = std::clamp(n, 1, 6);
  if (n != 1 && n != 6) penWidth = 1;
  penStyle = static_cast<PenStyle>(n);
  applyPen();
}

void DrawTarget::setPenColour(int index) {
  penColour = colours[index];
  applyPen();
}

void DrawTarget::restorePen() { applyPen(); }

void DrawTarget::rubberPen() {
  if (canvas) canvas->setPen(colours[33], 1, PenStyle::Solid);
}

void DrawTarget::worldPen(int mode, double x, double y) {
  const ViewPoint p = view_.worldToScreen(x, y);
  if (mode == 0) {
    penMoveTo(p.u, p.v);
  } else {
    penLineTo(p.u, p.v);
  }
}

void DrawTarget::penMoveTo(double u, double v) {
  if (pen.penMoveTo(u, v) && canvas) canvas->moveTo(toPixel(u), toPixel(view_.viewHeight - v));
}

void DrawTarget::penLineTo(double u, double v) {
  const auto piece = pen.penLineTo(u, v);
  if (!piece || !canvas) return;
  const double h = view_.viewHeight;
  canvas->moveTo(toPixel(piece->fromU), toPixel(h - piece->fromV));
  canvas->lineTo(toPixel(piece->toU), toPixel(h - piece->toV));
}

bool DrawTarget::markerAt(int colourIndex, double x, double y, Marker& marker) const {
  const ViewPoint p = view_.worldToScreen(x, y);
  const double py = view_.viewHeight - p.v;
  if (!(p.u >= 0 && p.u <= view_.viewWidth && py >= 0 && py <= view_.viewHeight)) return false;
  marker = Marker{toPixel(p.u), toPixel(py), colours[colourIndex]};
  return true;
}

void DrawTarget::drawPointMarker(int colourIndex, double x, double y) {
  Marker m;
  if (!canvas || !markerAt(colourIndex, x, y, m)) return;
  canvas->setPen(m.colour, 1, PenStyle::Solid);
  canvas->setBrush(Rgb{255, 255, 255}, true);
  canvas->rectangle(m.x - 2, m.y - 2, m.x + 2, m.y + 2);
  applyPen();
}

Rgb DrawTarget::labelColour(int index) const {
  return index >= 1 && index <= ColourTable::kEntries && index != 5 ? colours[index]
                                                                    : colours[ColourTable::kBlack];
}

void DrawTarget::useLabelFont(int size) {
  if (size == labelFontSize_) return;
  canvas->setFont(fontName, size);
  labelFontSize_ = size;
  labelCharWidth_ = canvas->maxCharWidth();
  labelPpi_ = canvas->fontPixelsPerInch();
}

double DrawTarget::labelMargin(std::size_t length, double sizePoints) {
  if (!canvas || !(view_.viewHeight > sizePoints)) return -1;
  useLabelFont(toPixel(sizePoints));
  return 2.0 * labelCharWidth_ * static_cast<double>(length) + labelPpi_ * sizePoints / 72 + 2;
}

bool DrawTarget::labelMayShow(std::size_t length, double x, double y, double sizePoints) {
  if (!canvas || !(view_.viewHeight > sizePoints)) return false;
  useLabelFont(toPixel(sizePoints));
  const ViewPoint p = view_.worldToScreen(x, y);
  const double h = labelPpi_ * sizePoints / 72;
  // Every anchor's corner lies within w of the point across and h + w along; a point farther
  // off than twice the widest text cannot show.
  const double m = 2.0 * labelCharWidth_ * static_cast<double>(length) + h + 2;
  const double py = view_.viewHeight - p.v;
  return p.u >= -m && p.u <= view_.viewWidth + m && py >= -m && py <= view_.viewHeight + m;
}

void DrawTarget::drawLabel(const std::string& text, int colourIndex, int anchor, double x, double y,
                           double sizePoints) {
  if (!canvas || !(view_.viewHeight > sizePoints)) return;
  const Rgb colour = labelColour(colourIndex);
  const ViewPoint p = view_.worldToScreen(x, y);
  useLabelFont(toPixel(sizePoints));
  const double h = labelPpi_ * sizePoints / 72;
  if (h <= 4) return;
  const double w = canvas->textWidth(text);
  const double top = view_.viewHeight - p.v;
  double px = p.u, py = top;
  switch (anchor) {
    case 0:
    case 1:
    case 2:
      py = top - toPixel(h);
      px = anchor == 0 ? p.u : anchor == 1 ? p.u - w / 2 : p.u - w;
      break;
    case 5:
      py = top - toPixel(h) / 2.0;
      px = p.u - w;
      break;
    case 6:
    case 7:
    case 8:
      px = anchor == 6 ? p.u : anchor == 7 ? p.u - w / 2 : p.u - w;
      break;
    default:
      break;
  }
  if (px < -w || py < -w || px > view_.viewWidth + w || py > view_.viewHeight + w) return;
  canvas->drawText(toPixel(px), toPixel(py), text, colour, 0);
}

void DrawTarget::drawWorldText(const std::string& text, int colourIndex, int anchor, double x,
                               double y, double rotation, double height) {
  if (!canvas) return;
  if (anchor >= 3 && anchor <= 5) anchor = 0;
  const ViewPoint p = view_.worldToScreen(x, y);
  const double r = rotation - view_.angle;
  const double escapement = r * 180 / std::numbers::pi * 10;
  const double hp = height * view_.scaleX;
  if (!(view_.viewHeight > hp) || !(hp > 4)) return;
  const int ppi = canvas->fontPixelsPerInch();
  int points = toPixel(hp) * 72 / ppi;
  // On paper the text is hp printer pixels high (the page's resolution is the printer's) and is
  // anchored by its printed width.
  if (printMode != 0) points = toPixel(hp * 72 / ppi);
  canvas->setFont(fontName, std::max(points, 1));
  labelFontSize_ = -1;
  const double w = canvas->textWidth(text);
  const double cr = std::cos(r), sr = std::sin(r);
  double px = p.u, py = view_.viewHeight - p.v;
  if (anchor >= 6) {
    px = p.u - sr * hp;
    py = view_.viewHeight - (p.v + cr * hp);
  }
  const int along = anchor % 3;  // 0 starting at the point, 1 centred, 2 ending at it
  if (along == 1) {
    px -= cr * w / 2;
    py += sr * w / 2;
  } else if (along == 2) {
    px -= cr * w;
    py += sr * w;
  }
  if (px < -w || py < -w || px > view_.viewWidth + w || py > view_.viewHeight + w) return;
  drawRotatedText(text, toPixel(px), toPixel(py), colourIndex, toPixel(escapement));
}

void DrawTarget::drawRotatedText(const std::string& text, int x, int y, int colourIndex,
                                 int escapement) {
  if (canvas) canvas->drawText(x, y, text, labelColour(colourIndex), escapement);
}

void DrawTarget::drawOctagon(double x, double y, double radius) {
  worldPen(0, x + radius, y);
  for (double t = std::numbers::pi / 4; t < 2 * std::numbers::pi + 0.0001;
       t += std::numbers::pi / 4) {
    worldPen(1, x + radius * std::cos(t), y + radius * std::sin(t));
  }
}

void DrawTarget::drawHalfOctagon(double x, double y, double radius, double startAngle) {
  const double a = startAngle;
  worldPen(0, x + radius * std::cos(a), y + radius * std::sin(a));
  for (double t = a; t < a + std::numbers::pi + 0.0001; t += std::numbers::pi / 4) {
    worldPen(1, x + radius * std::cos(t), y + radius * std::sin(t));
  }
}

void DrawTarget::Okno(int x1, int y1, int x2, int y2, PenMode mode) {
  if (!canvas) return;
  canvas->setPenMode(mode);
  canvas->setBrush(penColour, false);
  canvas->rectangle(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  canvas->setPenMode(PenMode::Copy);
}

void DrawTarget::drawRubberLine(int x1, int y1, int x2, int y2, PenMode mode) {
  if (!canvas) return;
  canvas->setPenMode(mode);
  canvas->setBrush(penColour, false);
  canvas->moveTo(x1, y1);
  canvas->lineTo(x2, y2);
  canvas->setPenMode(PenMode::Copy);
}

}  // namespace merilon

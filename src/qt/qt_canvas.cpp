#include "qt_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "qt_text.h"

namespace merilon::qt {
namespace {

QColor toColour(Rgb c) { return QColor(c.r, c.g, c.b); }

Qt::PenStyle toStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Solid:
      return Qt::SolidLine;
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::Invisible:
      return Qt::NoPen;
  }
  return Qt::SolidLine;
}

}  // namespace

QtCanvas::QtCanvas(int width, int height, qreal devicePixelRatio)
    : width_(width), height_(height), ratio_(devicePixelRatio) {
  font_.setFamily("Arial");
  font_.setPixelSize(13);
  resize(width, height, devicePixelRatio);
}

QtCanvas::QtCanvas(QPaintDevice& device)
    : width_(std::max(device.width(), 1)),
      height_(std::max(device.height(), 1)),
      ratio_(1),
      ppi_(device.logicalDpiY() > 0 ? device.logicalDpiY() : 96),
      device_(&device) {
  font_.setFamily("Arial");
  font_.setPixelSize(13);
  begin();
}

QtCanvas::~QtCanvas() {
  if (painter_ && painter_->isActive()) painter_->end();
}

bool QtCanvas::end() { return painter_ && painter_->isActive() && painter_->end(); }

void QtCanvas::resize(int width, int height, qreal devicePixelRatio) {
  if (device_) return;
  if (painter_) painter_->end();
  painter_.reset();
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  ratio_ = devicePixelRatio > 0 ? devicePixelRatio : 1;
  image_ = QImage(static_cast<int>(std::lround(width_ * ratio_)),
                  static_cast<int>(std::lround(height_ * ratio_)), QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio_);
  image_.fill(Qt::white);
  begin();
}

void QtCanvas::begin() {
  painter_ = std::make_unique<QPainter>(&device());
  if (!painter_->isActive()) {
    fontChanged();
    return;
  }
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  painter_->setPen(pen_);
  textPen_ = false;
  painter_->setBrush(brush_);
  painter_->setFont(font_);
  setPenMode(mode_);
  fontChanged();
}

QImage QtCanvas::snapshot() {
  if (device_) return {};
  painter_->end();
  QImage copy = image_.copy();
  copy.setDevicePixelRatio(ratio_);
  begin();
  return copy;
}

void QtCanvas::fontChanged() {
  metrics_ = std::make_unique<QFontMetrics>(font_, &device());
  maxCharWidth_ = std::max(1, metrics_->maxWidth());
  glyphsReady_ = false;
}

bool QtCanvas::asciiGlyphs(const std::string& text) {
  for (unsigned char ch : text) {
    if (ch < 32 || ch > 126) return false;
  }
  if (!glyphsReady_) {
    rawFont_ = QRawFont::fromFont(font_);
    if (!rawFont_.isValid()) return false;
    QString all;
    for (int ch = 32; ch < 127; ++ch) all += QChar(ch);
    const QList<quint32> glyphs = rawFont_.glyphIndexesForString(all);
    if (glyphs.size() != all.size()) return false;
    const QList<QPointF> advances = rawFont_.advancesForGlyphIndexes(glyphs);
    for (int k = 0; k < glyphs.size(); ++k) {
      glyph_[static_cast<std::size_t>(k + 32)] = glyphs[k];
      advance_[static_cast<std::size_t>(k + 32)] = advances[k].x();
    }
    glyphRun_ = QGlyphRun();
    glyphRun_.setRawFont(rawFont_);
    glyphsReady_ = true;
  }
  return true;
}

void QtCanvas::setPen(Rgb colour, int width, PenStyle style) {
  pen_ = QPen(toColour(colour), std::max(width, 1), toStyle(style), Qt::SquareCap, Qt::MiterJoin);
  painter_->setPen(pen_);
  textPen_ = false;
}

void QtCanvas::setPenMode(PenMode mode) {
  mode_ = mode;
  painter_->setCompositionMode(mode == PenMode::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                       : QPainter::CompositionMode_SourceOver);
}

void QtCanvas::setBrush(Rgb colour, bool solid) {
  brush_ = solid ? QBrush(toColour(colour)) : QBrush(Qt::NoBrush);
  painter_->setBrush(brush_);
}

void QtCanvas::moveTo(int x, int y) { current_ = QPoint(x, y); }

void QtCanvas::lineTo(int x, int y) {
  usePen();
  const QPoint to(x, y);
  if (pen_.style() == Qt::SolidLine && pen_.width() > 1 && mode_ == PenMode::Copy) {
    // A wide solid line as the filled rectangle its square caps make: the raster engine fills
    // convex polygons far faster than it strokes wide pens.
    const QPointF a(current_), b(to);
    QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const double half = pen_.width() / 2.0;
    d = length > 0 ? d * (half / length) : QPointF(half, 0);
    const QPointF n(-d.y(), d.x());
    const QPointF corners[4] = {a - d + n, b + d + n, b + d - n, a - d - n};
    painter_->save();
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(pen_.color());
    painter_->drawConvexPolygon(corners, 4);
    painter_->restore();
  } else if (pen_.style() != Qt::NoPen) {
    painter_->drawLine(current_, to);
  }
  current_ = to;
}

void QtCanvas::drawLines(std::span<const PixelSegment> segments) {
  if (segments.empty()) return;
  // Thin lines go to the raster engine in one call; wide ones take lineTo's filled rectangles.
  if (pen_.style() == Qt::NoPen || (pen_.width() > 1 && pen_.style() == Qt::SolidLine)) {
    Canvas::drawLines(segments);
    return;
  }
  lineRun_.resize(static_cast<qsizetype>(segments.size()));
  for (std::size_t k = 0; k < segments.size(); ++k) {
    const PixelSegment& s = segments[k];
    lineRun_[static_cast<qsizetype>(k)] = QLine(s.x1, s.y1, s.x2, s.y2);
  }
  painter_->drawLines(lineRun_.constData(), static_cast<int>(lineRun_.size()));
  current_ = QPoint(segments.back().x2, segments.back().y2);
}

void QtCanvas::rectangle(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  if (pen_.style() == Qt::NoPen) {
    if (brush_.style() != Qt::NoBrush) painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), brush_);
    return;
  }
  usePen();
  painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void QtCanvas::setFont(const std::string& family, int sizePoints) {
  const int pixels = std::max(1, static_cast<int>(std::lround(sizePoints * ppi_ / 72.0)));
  if (font_.pixelSize() == pixels && font_.family() == toQt(family)) return;
  font_.setFamily(toQt(family));
  font_.setPixelSize(pixels);
  painter_->setFont(font_);
  fontChanged();
}

int QtCanvas::textWidth(const std::string& text) {
  if (asciiGlyphs(text)) {
    qreal w = 0;
    for (unsigned char ch : text) w += advance_[ch];
    return static_cast<int>(std::lround(w));
  }
  return metrics_->horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int QtCanvas::maxCharWidth() { return maxCharWidth_; }

void QtCanvas::drawText(int x, int y, const std::string& text, Rgb colour, int escapement) {
  // Labels come in long runs of one colour: the painter keeps the text colour as its pen until
  // a line or an outline needs the canvas's pen again.
  const QColor c = toColour(colour);
  if (!textPen_ || textColour_ != c) {
    painter_->setPen(c);
    textPen_ = true;
    textColour_ = c;
  }
  if (escapement == 0 && asciiGlyphs(text)) {
    runGlyphs_.resize(text.size());
    runPositions_.resize(text.size());
    qreal at = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
      const auto ch = static_cast<unsigned char>(text[k]);
      runGlyphs_[k] = glyph_[ch];
      runPositions_[k] = QPointF(at, 0);
      at += advance_[ch];
    }
    glyphRun_.setRawData(runGlyphs_.data(), runPositions_.data(), static_cast<int>(text.size()));
    painter_->drawGlyphRun(QPointF(x, y + metrics_->ascent()), glyphRun_);
    return;
  }
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (escapement == 0) {
    painter_->drawText(x, y + metrics_->ascent(), s);
  } else {
    painter_->save();
    painter_->translate(x, y);
    painter_->rotate(-escapement / 10.0);
    painter_->drawText(0, metrics_->ascent(), s);
    painter_->restore();
  }
}

void QtCanvas::usePen() {
  if (!textPen_) return;
  painter_->setPen(pen_);
  textPen_ = false;
}

void QtCanvas::drawMarkers(std::span<const Marker> markers) {
  // The fast path writes the pixels of each marker straight into the image, in the shape that
  // QPainter gives a marker at the image's device pixel ratio; it is exact in copy mode, which
  // is how the surface is drawn. A printer's page is always drawn by QPainter.
  if (!markersOneByOne && !device_ && mode_ == PenMode::Copy) {
    if (stampRatio_ != ratio_) learnMarkerStamp();
    if (!stamp_.empty()) {
      stampMarkers(markers);
      return;
    }
  }
  drawMarkersOneByOne(*this, markers);
}

namespace {

// What QPainter drew where one marker was: nothing, its outline, its white inside.
enum class StampPixel { Untouched, Outline, Inside, Other };

constexpr QRgb kProbeBackground = 0xFF010203u, kProbeOutline = 0xFFFF0000u;

StampPixel probePixel(QRgb c) {
  if (c == kProbeBackground) return StampPixel::Untouched;
  if (c == kProbeOutline) return StampPixel::Outline;
  if (c == 0xFFFFFFFFu) return StampPixel::Inside;
  return StampPixel::Other;
}

}  // namespace

std::vector<QtCanvas::StampSpan> QtCanvas::probeMarker(int x, int y) const {
  // A small image of the canvas's ratio with one marker drawn by QPainter as drawMarkersOneByOne
  // does; the spans are its pixels relative to the marker's centre in device pixels.
  const int side = 16;
  const auto r = static_cast<int>(ratio_);
  QImage probe(side * r, side * r, QImage::Format_RGB32);
  probe.setDevicePixelRatio(ratio_);
  probe.fill(kProbeBackground);
  {
    QPainter p(&probe);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor::fromRgb(kProbeOutline), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QBrush(Qt::white));
    p.drawRect(QRect(x - 2, y - 2, 3, 3));
  }
  std::vector<StampSpan> spans;
  for (int row = 0; row < probe.height(); ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(probe.constScanLine(row));
    for (int col = 0; col < probe.width();) {
      const StampPixel kind = probePixel(line[col]);
      if (kind == StampPixel::Other) return {};
      int end = col + 1;
      while (end < probe.width() && probePixel(line[end]) == kind) ++end;
      if (kind != StampPixel::Untouched) {
        // A marker touching the probe's edge could have been cut: no stamp then.
        if (row == 0 || col == 0 || row == probe.height() - 1 || end == probe.width()) return {};
        spans.push_back(
            StampSpan{row - y * r, col - x * r, end - col, kind == StampPixel::Outline});
      }
      col = end;
    }
  }
  return spans;
}

void QtCanvas::learnMarkerStamp() {
  stampRatio_ = ratio_;
  stamp_.clear();
  // Only whole ratios move a marker by whole device pixels, so that one shape fits everywhere.
  if (ratio_ != std::floor(ratio_) || ratio_ > 8) return;
  std::vector<StampSpan> a = probeMarker(7, 7), b = probeMarker(8, 9);
  if (a.empty() || a != b) return;
  stamp_ = std::move(a);
  // The 100 % shape, a 4 x 4 square with a one-pixel outline, has its own unrolled writes.
  const std::vector<StampSpan> square = {{-2, -2, 4, true}, {-1, -2, 1, true}, {-1, -1, 2, false},
                                         {-1, 1, 1, true},  {0, -2, 1, true},  {0, -1, 2, false},
                                         {0, 1, 1, true},   {1, -2, 4, true}};
  stampIsSquare_ = stamp_ == square;
  stampLeft_ = stampTop_ = 0;
  stampRight_ = stampBottom_ = 0;
  for (const StampSpan& span : stamp_) {
    stampLeft_ = std::min(stampLeft_, span.dx);
    stampRight_ = std::max(stampRight_, span.dx + span.length);
    stampTop_ = std::min(stampTop_, span.dy);
    stampBottom_ = std::max(stampBottom_, span.dy + 1);
  }
}

void QtCanvas::stampMarkers(std::span<const Marker> markers) {
  // The painter may hold drawing in its engine; nothing is buffered by the raster engine, so
  // the image's pixels are current.
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine() / 4;
  const int w = image_.width(), h = image_.height();
  const auto r = static_cast<int>(ratio_);
  constexpr quint32 kWhite = 0xFFFFFFFFu;
  for (const Marker& m : markers) {
    const quint32 c = 0xFF000000u | (quint32{m.colour.r} << 16) | (quint32{m.colour.g} << 8) |
                      quint32{m.colour.b};
    const int cx = m.x * r, cy = m.y * r;
    if (cx + stampLeft_ >= 0 && cy + stampTop_ >= 0 && cx + stampRight_ <= w &&
        cy + stampBottom_ <= h) {
      auto* centre = reinterpret_cast<quint32*>(bits) + cy * stride + cx;
      if (stampIsSquare_) {
        quint32* row = centre - 2 * stride - 2;
        row[0] = row[1] = row[2] = row[3] = c;
        for (int k = 0; k < 2; ++k) {
          row += stride;
          row[0] = row[3] = c;
          row[1] = row[2] = kWhite;
        }
        row += stride;
        row[0] = row[1] = row[2] = row[3] = c;
        continue;
      }
      for (const StampSpan& span : stamp_) {
        std::fill_n(centre + span.dy * stride + span.dx, span.length, span.outline ? c : kWhite);
      }
      continue;
    }
    // Cut by the image's edge: QPainter's own clipping decides those pixels.
    drawMarkersOneByOne(*this, std::span<const Marker>(&m, 1));
  }
}

void QtCanvas::present() {
  if (onPresent) onPresent();
}

}  // namespace merilon::qt

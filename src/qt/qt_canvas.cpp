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
    glyphsReady_ = true;
  }
  return true;
}

void QtCanvas::setPen(Rgb colour, int width, PenStyle style) {
  pen_ = QPen(toColour(colour), std::max(width, 1), toStyle(style), Qt::SquareCap, Qt::MiterJoin);
  painter_->setPen(pen_);
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

void QtCanvas::rectangle(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  if (pen_.style() == Qt::NoPen) {
    if (brush_.style() != Qt::NoBrush) painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), brush_);
    return;
  }
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
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QPen keep = pen_;
  painter_->setPen(toColour(colour));
  if (escapement == 0 && asciiGlyphs(text)) {
    runGlyphs_.resize(static_cast<qsizetype>(text.size()));
    runPositions_.resize(static_cast<qsizetype>(text.size()));
    qreal at = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
      const auto ch = static_cast<unsigned char>(text[k]);
      runGlyphs_[static_cast<qsizetype>(k)] = glyph_[ch];
      runPositions_[static_cast<qsizetype>(k)] = QPointF(at, 0);
      at += advance_[ch];
    }
    QGlyphRun run;
    run.setRawFont(rawFont_);
    run.setGlyphIndexes(runGlyphs_);
    run.setPositions(runPositions_);
    painter_->drawGlyphRun(QPointF(x, y + metrics_->ascent()), run);
  } else if (escapement == 0) {
    painter_->drawText(x, y + metrics_->ascent(), s);
  } else {
    painter_->save();
    painter_->translate(x, y);
    painter_->rotate(-escapement / 10.0);
    painter_->drawText(0, metrics_->ascent(), s);
    painter_->restore();
  }
  painter_->setPen(keep);
}

void QtCanvas::drawMarkers(std::span<const Marker> markers) {
  // The fast path writes the pixels of each marker straight into the image; it is exact for
  // whole device pixels in copy mode, which is how the surface is drawn.
  if (markersOneByOne || device_ || ratio_ != 1 || mode_ != PenMode::Copy) {
    drawMarkersOneByOne(*this, markers);
    return;
  }
  stampMarkers(markers);
}

void QtCanvas::stampMarkers(std::span<const Marker> markers) {
  // The painter may hold drawing in its engine; nothing is buffered by the raster engine, so
  // the image's pixels are current.
  uchar* bits = image_.bits();
  const qsizetype stride = image_.bytesPerLine() / 4;
  const int w = image_.width(), h = image_.height();
  constexpr quint32 kWhite = 0xFFFFFFFFu;
  for (const Marker& m : markers) {
    const quint32 c = 0xFF000000u | (quint32{m.colour.r} << 16) | (quint32{m.colour.g} << 8) |
                      quint32{m.colour.b};
    const int x0 = m.x - 2, y0 = m.y - 2;
    if (x0 >= 0 && y0 >= 0 && x0 + 4 <= w && y0 + 4 <= h) {
      auto* row = reinterpret_cast<quint32*>(bits) + y0 * stride + x0;
      row[0] = row[1] = row[2] = row[3] = c;
      row += stride;
      row[0] = c;
      row[1] = row[2] = kWhite;
      row[3] = c;
      row += stride;
      row[0] = c;
      row[1] = row[2] = kWhite;
      row[3] = c;
      row += stride;
      row[0] = row[1] = row[2] = row[3] = c;
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

// The Qt drawing surface: paints into a QImage that carries the screen's device pixel ratio, so
// all drawing arithmetic stays in logical pixels while a 200 % screen gets full resolution. The
// surface widget only shows the image; merilon-cli saves it. The same class paints a printer's
// page, in the device's own pixels and font resolution.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "platform/canvas.h"

namespace merilon::qt {

class QtCanvas : public Canvas {
 public:
  QtCanvas(int width, int height, qreal devicePixelRatio = 1);
  // Paints on `device` (a printer, a PDF writer) from now until end() or destruction.
  explicit QtCanvas(QPaintDevice& device);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // False when painting on the device could not begin (a file that cannot be written).
  bool active() const { return painter_ && painter_->isActive(); }
  // Ends painting on a device; false when the device reports a failure.
  bool end();

  // A new white image of the logical size; drawing state is kept.
  void resize(int width, int height, qreal devicePixelRatio);
  const QImage& image() const { return image_; }
  // Ends painting so that the image can be saved or copied, and begins again.
  QImage snapshot();
  // Called by present(): the surface shows the image.
  std::function<void()> onPresent;
  // Markers one by one through QPainter instead of the fast path (for comparing the two).
  bool markersOneByOne = false;
  // Whether drawMarkers writes the markers' pixels itself at the current device pixel ratio.
  bool stampsMarkers() {
    if (stampRatio_ != ratio_) learnMarkerStamp();
    return !stamp_.empty();
  }

  int width() const override { return width_; }
  int height() const override { return height_; }
  int fontPixelsPerInch() const override { return ppi_; }
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
  void drawLines(std::span<const PixelSegment> segments) override;
  void present() override;

 private:
  void begin();
  void fontChanged();
  // Glyphs of the printable ASCII characters in the current font, so that labels of digits and
  // letters need no text shaping: false when the text has other characters.
  bool asciiGlyphs(const std::string& text);
  // A row piece of the marker's shape in device pixels, from the marker's centre pixel.
  struct StampSpan {
    int dy, dx, length;
    bool outline;  // else the white inside
    friend bool operator==(const StampSpan&, const StampSpan&) = default;
  };
  std::vector<StampSpan> probeMarker(int x, int y) const;
  // Learns the shape from QPainter at the current ratio; none when no one shape fits.
  void learnMarkerStamp();
  void stampMarkers(std::span<const Marker> markers);
  // Gives the painter the canvas's pen back after texts.
  void usePen();
  QPaintDevice& device() { return device_ ? *device_ : image_; }
  int width_, height_;
  qreal ratio_;
  int ppi_ = 96;
  QImage image_;
  QPaintDevice* device_ = nullptr;  // the page painted on instead of image_
  std::unique_ptr<QPainter> painter_;
  QPen pen_;
  QBrush brush_;
  PenMode mode_ = PenMode::Copy;
  QFont font_;
  std::unique_ptr<QFontMetrics> metrics_;
  QPoint current_;
  int maxCharWidth_ = 1;
  QRawFont rawFont_;
  std::array<quint32, 128> glyph_{};
  std::array<qreal, 128> advance_{};
  bool glyphsReady_ = false;
  std::vector<quint32> runGlyphs_;
  std::vector<QPointF> runPositions_;
  QGlyphRun glyphRun_;
  std::vector<StampSpan> stamp_;
  qreal stampRatio_ = 0;
  bool stampIsSquare_ = false;
  int stampLeft_ = 0, stampTop_ = 0, stampRight_ = 0, stampBottom_ = 0;
  bool textPen_ = false;
  QColor textColour_;
  QList<QLine> lineRun_;
};

}  // namespace merilon::qt

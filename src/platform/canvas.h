// The drawing surface and the printer page as the drawing window sees them: a pen, a brush, a
// pen mode, lines, rectangles, pixels-per-inch, text with its width, and runs of point markers.
// Coordinates are the target's logical pixels, y downwards; the Qt canvas maps them to the
// device's pixels, the recording canvas of the tests keeps them as they are.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace merilon {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class PenStyle { Solid = 1, Dash, Dot, DashDot, DashDotDot, Invisible };
// Copy paints the pen's colour; NotXor inverts the XOR of pen and pixel, so drawing a shape twice
// leaves the surface as it was.
enum class PenMode { Copy, NotXor };

// One square point marker: its centre pixel and outline colour (filled white inside).
struct Marker {
  int x = 0, y = 0;
  Rgb colour;
};

// One segment in the target's pixels.
struct PixelSegment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Size in logical pixels.
  virtual int width() const = 0;
  virtual int height() const = 0;
  // Font resolution (pixels per inch of the logical pixels).
  virtual int fontPixelsPerInch() const = 0;

  virtual void setPen(Rgb colour, int width, PenStyle style) = 0;
  virtual void setPenMode(PenMode mode) = 0;
  // A solid brush of the colour, or no brush (clear) when `solid` is false.
  virtual void setBrush(Rgb colour, bool solid) = 0;

  virtual void moveTo(int x, int y) = 0;
  // A line from the current position to (x, y), the end pixel left out; (x, y) becomes current.
  virtual void lineTo(int x, int y) = 0;
  // The rectangle covering columns x1..x2-1 and rows y1..y2-1: outline with the pen, inside with
  // the brush.
  virtual void rectangle(int x1, int y1, int x2, int y2) = 0;

  virtual void setFont(const std::string& family, int sizePoints) = 0;
  virtual int textWidth(const std::string& text) = 0;
  // No text of n characters in the current font is wider than n times this.
  virtual int maxCharWidth() = 0;
  // Text with a transparent background, its top-left corner at (x, y), turned counter-clockwise
  // by `escapement` tenths of a degree about that corner.
  virtual void drawText(int x, int y, const std::string& text, Rgb colour, int escapement) = 0;

  // Markers of 4 x 4 pixels, the rectangle (x-2, y-2)..(x+2, y+2), in order: the same pixels
  // as drawing each with rectangle() under a width-1 pen in its colour and a white brush.
  // Afterwards the pen and brush are undefined; callers set them again.
  virtual void drawMarkers(std::span<const Marker> markers) = 0;

  // Segments in order, each as moveTo(x1, y1) and lineTo(x2, y2) would draw it, in the current
  // pen; the last segment's end becomes the current position.
  virtual void drawLines(std::span<const PixelSegment> segments) {
    for (const PixelSegment& s : segments) {
      moveTo(s.x1, s.y1);
      lineTo(s.x2, s.y2);
    }
  }

  // The picture drawn so far may be shown (a long redraw shows its progress).
  virtual void present() {}
};

// Draws markers one by one through rectangle(): the reference that faster canvases must equal.
inline void drawMarkersOneByOne(Canvas& canvas, std::span<const Marker> markers) {
  for (const Marker& m : markers) {
    canvas.setPen(m.colour, 1, PenStyle::Solid);
    canvas.setBrush(Rgb{255, 255, 255}, true);
    canvas.rectangle(m.x - 2, m.y - 2, m.x + 2, m.y + 2);
  }
}

}  // namespace merilon

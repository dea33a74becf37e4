// The drawing primitives of the drawing window: the pen with its colour, width and style, the
// clipping pen in world coordinates, point markers, labels sized in points, world texts sized in
// metres that turn with the view, octagon circles and the rubber-band shapes. Everything goes to
// the current canvas (the surface or, while printing, the page) through the view transform.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "drawing/clipping_pen.h"
#include "drawing/colour_table.h"
#include "drawing/view_transform.h"
#include "platform/canvas.h"

namespace merilon {

// A view coordinate as a pixel: nearest integer, halves to even; never undefined for values
// beyond the int range or not finite.
inline int toPixel(double value) {
  if (!(value > -1e9)) return -1000000000;
  if (!(value < 1e9)) return 1000000000;
  return static_cast<int>(std::nearbyint(value));
}

class DrawTarget {
 public:
  explicit DrawTarget(ViewTransform& view) : view_(view) {}

  Canvas* canvas = nullptr;
  ColourTable colours;
  int printMode = 0;
  int penWidth = 1;
  Rgb penColour{0, 0, 0};
  PenStyle penStyle = PenStyle::Solid;
  Rgb backgroundColour{255, 255, 255};
  double printerDpiRatio = 1;
  std::string fontName = "Arial";
  ClippingPen pen;

  ViewTransform& view() { return view_; }

  // The clip window and the pixel flip follow the view's size (every redraw).
  void setClipToView();

  void clearTarget();
  void setPenWidth(int w);
  void setPenStyle(int n);
  void setPenColour(int index);
  void restorePen();
  void rubberPen();

  void worldPen(int mode, double x, double y);
  void penMoveTo(double u, double v);
  void penLineTo(double u, double v);

  void drawPointMarker(int colourIndex, double x, double y);
  // The marker of drawPointMarker without drawing it: false when it is off the view.
  bool markerAt(int colourIndex, double x, double y, Marker& marker) const;
  void drawLabel(const std::string& text, int colourIndex, int anchor, double x, double y,
                 double sizePoints);
  // False when a label of `length` characters at (x, y) cannot show whatever its text: the
  // cheap test that lets off-view points skip the formatting of their text.
  bool labelMayShow(std::size_t length, double x, double y, double sizePoints);
  // The distance from the view within which such a label may show (0 when none can), and
  // whether a point lies within it.
  double labelMargin(std::size_t length, double sizePoints);
  bool nearView(double x, double y, double margin) const {
    const ViewPoint p = view_.worldToScreen(x, y);
    const double py = view_.viewHeight - p.v;
    return p.u >= -margin && p.u <= view_.viewWidth + margin && py >= -margin &&
           py <= view_.viewHeight + margin;
  }
  void drawWorldText(const std::string& text, int colourIndex, int anchor, double x, double y,
                     double rotation, double height);
  void drawRotatedText(const std::string& text, int x, int y, int colourIndex, int escapement);
  void drawOctagon(double x, double y, double radius);
  void drawHalfOctagon(double x, double y, double radius, double startAngle);

  // Rubber bands and frames in surface pixels.
  void Okno(int x1, int y1, int x2, int y2, PenMode mode);
  void drawRubberLine(int x1, int y1, int x2, int y2, PenMode mode);

 private:
  Rgb labelColour(int index) const;
  void applyPen();
  void useLabelFont(int size);
  ViewTransform& view_;
  int labelFontSize_ = -1;
  int labelCharWidth_ = 1;
  int labelPpi_ = 96;
};

}  // namespace merilon

#include "drawing/print_layout.h"

#include "drawing/draw_target.h"

namespace merilon {

PageOrientation pageOrientation(int surfaceWidth, int surfaceHeight) {
  return surfaceWidth <= surfaceHeight ? PageOrientation::Portrait : PageOrientation::Landscape;
}

int printFrameExtent(int pagePixels, int pagePixelsPerInch, double scale, double viewScale) {
  if (pagePixelsPerInch <= 0) return 0;
  const double inches = static_cast<double>(pagePixels) / pagePixelsPerInch;
  return toPixel(inches * 2.54 * scale * 0.01 * viewScale);
}

double printerPixelsPerMetre(double scale, int printerPixelsPerInch) {
  return 100 / scale / 2.54 * printerPixelsPerInch;
}

double printerDpiRatioOf(int printerPixelsPerInch, int surfacePixelsPerInch) {
  if (surfacePixelsPerInch <= 0) return 1;
  return static_cast<double>(printerPixelsPerInch) / surfacePixelsPerInch;
}

}  // namespace merilon

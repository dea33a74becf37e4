// The arithmetic of the drawing window's prints: which way the page turns, how much of the
// surface one page covers at a scale, and the printer's pixels per metre of ground.
#pragma once

#include "platform/printer.h"

namespace merilon {

// Portrait when the surface is at most as wide as it is high, landscape otherwise.
PageOrientation pageOrientation(int surfaceWidth, int surfaceHeight);

// The surface pixels (rounded, halves to even) spanned by the ground that `pagePixels` printer
// pixels at `pagePixelsPerInch` cover at 1 : `scale`, on a view of `viewScale` pixels per metre:
// page inches, to centimetres, to metres of ground, to surface pixels.
int printFrameExtent(int pagePixels, int pagePixelsPerInch, double scale, double viewScale);

// Printer pixels per metre of ground at 1 : `scale`.
double printerPixelsPerMetre(double scale, int printerPixelsPerInch);

// The printer's font resolution over the surface's (1 when the surface's is unknown).
double printerDpiRatioOf(int printerPixelsPerInch, int surfacePixelsPerInch);

}  // namespace merilon

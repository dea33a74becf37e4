// The drawing parameters of the drawing window: zoom coefficients, label sizes in points, the
// print scale and the contour labelling interval. Defaults are set each time the window opens.
#pragma once

namespace merilon {

struct DrawingParams {
  double zoomInCoefficient = 2.0;
  double zoomOutCoefficient = 2.0;
  double numberLabelSize = 10;
  double heightLabelSize = 8;
  double symbolLabelSize = 10;
  double printScale = 1000;
  double contourLabelInterval = 1.0;
  // What the zoom commands use: the reciprocal of the zoom-in coefficient, and the zoom-out one.
  double zoomInFactor = 0.5;
  double zoomOutFactor = 2.0;
};

}  // namespace merilon

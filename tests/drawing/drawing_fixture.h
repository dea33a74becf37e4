// A program with points and an open drawing window on a recording canvas.
#pragma once

#include <string>

#include "support/recording_canvas.h"
#include "support/test_program.h"

namespace merilon::testing {

struct DrawingProgram : TestProgram {
  explicit DrawingProgram(int w = 1000, int h = 600) : canvas(w, h) {
    window().setSurface(&canvas);
  }
  TGRAFIKA& window() { return program->GRAFIKA; }
  void addPoint(double x, double y, double z, const std::string& name = "", int type = 1) {
    ASSERT_TRUE(points().reservePoint());
    const int i = points().pointCount();
    points().setPoint(i, x, y, z, PointName::fromText(name), type);
  }
  // "Rysuj" and the first activation.
  void open() {
    main().Button19Click();
    window().FormActivate();
  }
  RecordingCanvas canvas;
};

}  // namespace merilon::testing

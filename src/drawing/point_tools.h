// The point tools of the drawing window: picking the point nearest to a click with its highlight
// and question, editing or inserting a point, generating a point between two picked points,
// measuring a distance, projecting a click onto the alignment, the point search, and undo and
// redo of point changes. The window's tool machine hands its states over through the seam.
#pragma once

#include <array>

#include "drawing/point_search.h"
#include "drawing/point_tools_seam.h"
#include "drawing/view_transform.h"

namespace merilon {

class Program;
class TGRAFIKA;

class PointTools : public PointToolsSeam {
 public:
  explicit PointTools(Program& program);

  // The current point (also the first point of a generation) and the second one.
  int pickedPoint = kNoPoint;
  int secondPoint = kNoPoint;
  // The world position of the last pick that was not snapped to a point.
  double pickedX = 0, pickedY = 0;
  // Picked positions; slots 1 and 2 hold the ends of a measured distance.
  std::array<WorldPoint, 201> vertices{};

  bool editOrInsertPoint(int x, int y) override;
  bool pickFirstGenerationPoint(int x, int y) override;
  bool pickSecondGenerationPoint(int x, int y) override;
  void mouseDown(MouseButton button, bool shift, int x, int y) override;
  void mouseMove(bool shift, int x, int y) override;
  void coordinatePicked(double x, double y) override;
  void searchPoint() override;
  bool undoPointChange() override;
  bool redoPointChange() override;

  // The point nearest to the surface pixel (x, y), within 20 pixels.
  NearestPoint nearestToPixel(int x, int y) const;
  // Generates a point between `first` and `second` through the generation dialog; true when
  // the flow ended (generated, refused or given up).
  bool generatePoint(int first, int second);
  // The nearest point or the clicked place into vertex slot `slot`; the surface position of the
  // pick comes back in (sx, sy). False when no point was taken.
  bool pickPointOrPlace(int x, int y, int slot, int& sx, int& sy);
  // Rings a point while a question about it is asked; the second call takes the ring away.
  void highlight(int i);
  void removeHighlight(int i);
  // Points were opened or imported: the undo history starts again and an open point dialog
  // closes (its point may be gone).
  void pointsReplaced(bool saved);

 private:
  TGRAFIKA& window();
  bool pickGenerationPoint(int x, int y, bool second);
  void ring(int i, int markerColour);
  void measureDown(int x, int y);
  void projectDown(int x, int y);
  // Projects a world position; on success the line to its foot is drawn and the values shown.
  bool projectAndShow(double wx, double wy, int sx, int sy, bool guess);
  // "Uwaga, brak punktu...": false when the user gives up (the tool ends).
  bool tryAgain();
  // One step of the undo history back or forward.
  bool stepHistory(bool forward);
  void endTool();
  // The rubber line of measuring and projecting, drawn and erased in not-XOR mode.
  void showRubber(int x1, int y1, int x2, int y2);
  void hideRubber();
  WorldPoint toWorld(int x, int y) const;
  void toPixel(double wx, double wy, int& sx, int& sy) const;

  Program& program_;
  int measureStep_ = 0;
  int projectStep_ = 0;
  bool rubberShown_ = false;
  int rubber_[4] = {0, 0, 0, 0};
  double lastChainage_ = 0;
};

}  // namespace merilon

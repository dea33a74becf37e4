// What the drawing window's tool machine asks of the point tools (pick, edit, insert, generate,
// measure, search). The window works without them: states that hand over return to idle.
#pragma once

namespace merilon {

enum class MouseButton { Left, Right, Middle };

class PointToolsSeam {
 public:
  virtual ~PointToolsSeam() = default;
  // State 13: true when a point changed (the window redraws).
  virtual bool editOrInsertPoint(int x, int y) = 0;
  // State 36: true when the first point was accepted.
  virtual bool pickFirstGenerationPoint(int x, int y) = 0;
  // State 3636: true when the generation ended (a point generated, or the generation refused or
  // given up in its dialog); false while the tool still waits for a second point.
  virtual bool pickSecondGenerationPoint(int x, int y) = 0;
  // States above 20000 (distance, chainage of a place).
  virtual void mouseDown(MouseButton button, bool shift, int x, int y) = 0;
  virtual void mouseMove(bool shift, int x, int y) = 0;
  // State 9001: the picked world point goes into the point dialog.
  virtual void coordinatePicked(double x, double y) = 0;
  // "Szukaj punktu": the search dialog, modally.
  virtual void searchPoint() = 0;
  // "Cofnij" and "Ponów": true when a point change was undone or redone (the window redraws).
  virtual bool undoPointChange() = 0;
  virtual bool redoPointChange() = 0;
};

}  // namespace merilon

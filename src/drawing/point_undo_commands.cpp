// "Cofnij" and "Ponów" of the drawing window: the point tools' history one step back or forward,
// then the drawing again.
#include "drawing/drawing_window.h"
#include "shell/program.h"

namespace merilon {

void TGRAFIKA::Cofnij1Click() {
  if (pointTools && pointTools->undoPointChange()) redraw();
}

void TGRAFIKA::Ponow1Click() {
  if (pointTools && pointTools->redoPointChange()) redraw();
}

bool TGRAFIKA::commandAvailable(DrawingCommand command) const {
  if (waitsForRunningCommand(command)) return false;
  if (command == DrawingCommand::Undo) return program_.pointHistory.canUndo();
  if (command == DrawingCommand::Redo) return program_.pointHistory.canRedo();
  return true;
}

}  // namespace merilon

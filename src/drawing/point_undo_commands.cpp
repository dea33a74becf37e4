// "Cofnij" and "Ponów" of the drawing window: the point tools' history one step back or forward,
// then the drawing again.
#include "drawing/drawing_window.h"

namespace merilon {

void TGRAFIKA::Cofnij1Click() {
  if (pointTools && pointTools->undoPointChange()) redraw();
}

void TGRAFIKA::Ponow1Click() {
  if (pointTools && pointTools->redoPointChange()) redraw();
}

}  // namespace merilon

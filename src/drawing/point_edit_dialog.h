// "Dane punktu" (TFormZmienpkt): the tool window that edits a point picked in the drawing or
// enters a new one, with its X and Y optionally taken from a click in the drawing window.
#pragma once

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;

class TFormZmienpkt : public Form {
 public:
  explicit TFormZmienpkt(Program& program);

  Label Label1, Label2, Label3, Label5, Label6;  // captions of Edit1..Edit5
  Edit Edit1;    // X(E)
  Edit Edit2;    // Y(N)
  Edit Edit3;    // Z
  Edit Edit4;    // symbol
  Edit Edit5;    // type
  Label Label4;  // "Punkt numer: %d" when editing
  Label Label7, Label8;  // captions of Edit6, Edit7
  Edit Edit6;    // chainage of the point's projection (read-only)
  Edit Edit7;    // offset from the alignment (read-only)
  Button Button1;  // "Zmień" / "Wprowadź"
  Button Button2;  // "Rezygnuj"
  Button WskawsprzedneXiY1;  // pop-up item "Wskaż współrzedne X i Y"

  bool insertMode = false;
  bool pointChanged = false;
  int pointIndex = 0;             // the point edited
  double proposedX = 0, proposedY = 0;  // the click of a new point
  // Position on the screen: the remembered one (0, 0: not yet placed) and the one to show at.
  int rememberedLeft = 0, rememberedTop = 0;
  int Left = 0, Top = 0;
  int Width = 330, Height = 330;

  // Fills the fields for the point or the new point and places the window.
  void FormActivate();
  void Button1Click();
  void Button2Click();
  void WskawsprzedneXiY1Click();
  // A click in the drawing window while it waits for coordinates.
  void coordinatesPicked(double x, double y);

 private:
  // Remembers the position, ends a pending pick, redraws the drawing window and closes.
  void finish();
  Program& program_;
};

}  // namespace merilon

// The cross-section dialog (TFormPoprzeczka): the alignment file, the chainage range, widths and
// codes of a run, "Generuj" with the save of the .TER file; and the same dialog in its data-only
// form "Dane trasy i przekrojów" that the drawing window opens.
#pragma once

#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "alignment/alignment_choice_dialog.h"
#include "alignment/cross_sections.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon {

class Program;

class TFormPoprzeczka : public Form {
 public:
  TFormPoprzeczka(Program& program, Alignment& alignment);

  Button Button5;  // "Wybierz trasę"
  Label Label5;    // "Opis trasy:" (shown once an alignment is loaded)
  Label Label6;    // the alignment file's header text
  // Captions of the edits: Label1 of Edit3, Label2 of Edit4, Label3 of Edit1, Label4 of Edit2,
  // Label7 of Edit5, Label8 of Edit6, Label9 of Edit7 ("\n" breaks a caption in two lines).
  Label Label1, Label2, Label3, Label4, Label7, Label8, Label9;
  Edit Edit3;             // start chainage
  Edit Edit4;             // end chainage
  Edit Edit1;             // left width
  Edit Edit2;             // right width
  Edit Edit5;             // chainage range of one section
  Edit Edit6;             // chainage accuracy
  Edit Edit7;             // largest offset of a one-point section
  CheckBox RadioButton1;  // codes on every point of the section
  CheckBox RadioButton2;  // codes only at the boundary
  Button Button1;         // "Generuj"
  Button Button2;         // "Rezygnuj" / "Zamknij"
  Button Button6;         // "Przerwij"

  // Which alignment of a LandXML file holding several.
  TFormWyborTrasy FormWyborTrasy;

  bool alignmentLoaded = false;
  bool pointsClassified = false;
  // The last .TER file named, proposed by the next save dialog.
  std::string lastTerFileName;
  // The work text: the lines of the alignment file just read, then the .TER text of the run.
  std::vector<std::string> workText;
  // True while workText holds the cross-section text of the last generation (and not the lines
  // of an alignment file), for the windows that draw or export the sections.
  bool sectionTextLoaded = false;
  // The values of the last run (or of "Zamknij"/"Rezygnuj"), for the drawing window.
  CrossSectionParams stored;
  // True while "Generuj" runs. The run processes pending events, so the dialog's own buttons
  // can be pressed meanwhile (a double click on "Generuj" is enough): they are greyed and do
  // nothing until it ends, rather than start a second run over the first one's work arrays, load
  // another alignment under it or close the dialog around it.
  bool generating() const { return generating_; }

  // Opened from the main window (generate) or from the drawing window (data only).
  void setMode(bool fromDrawingWindow);

  void FormActivate();
  void Button5Click();
  void Button1Click();
  void Button2Click();
  void Button6Click();

  // The values of the fields and the main window's codes, as a run takes them.
  CrossSectionParams readParams() const;

  // Forgets the loaded alignment (a point file was opened).
  void discardAlignment();

 private:
  void saveSections();
  Program& program_;
  Alignment& alignment_;
  bool generating_ = false;
};

// "Generuj poprzeczki" of the main window, and the same command from the drawing window.
void runCrossSectionCommand(Program& program, TFormPoprzeczka& dialog, bool fromDrawingWindow);

}  // namespace merilon

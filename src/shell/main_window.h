// The main window (TFORM_Main): the command panel, the preview pane of the current text file,
// the message log, the record-structure group, the status and progress bars, and the services
// that every long command uses (disable/enable, progress, log, title).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"
#include "shell/file_params.h"

namespace merilon {

class Program;

// Keys the window reacts to itself (its keyboard preview is on).
enum class WindowKey { F1, Escape, Other };

// Menu items; each runs the command of its button, and does nothing while that button is
// disabled by a running long command.
enum class MenuCommand {
  Project,
  OpenText,
  OpenDxf,
  ImportPoints,
  OpenPoints,
  LoadUnderlay,
  SavePoints,
  SaveText,
  DetachUnderlay,
  Exit,
  GenerateDxf3d,
  GenerateSections,
  Drawing,
  About,
  Description
};

class TFORM_Main : public Form {
 public:
  explicit TFORM_Main(Program& program);

  Program& program() { return program_; }
  Platform& platform();

  // --- Command panel -------------------------------------------------------------------------
  Button Button8;   // "Projekt"
  Button Button1;   // "Otwórz plik tekstowy"
  Button Button14;  // "Wczytaj dane z DXF"
  Button Button2;   // "Wczytaj do Punktów"
  Button Button3;   // "Otwórz Punkty"
  Button Button5;   // "Zapisz Punkty"
  Button Button15;  // "Zapisz dane txt"
  Button Button13;  // "Zamknij program"
  Button Button23;  // "Zapisz Punkty do txt"
  Button Button7;   // "Generuj DXF3D"
  Button Button10;  // "Generuj poprzeczki"
  Button Button19;  // "Rysuj"
  Button Button9;   // "Opis programu"
  Button Button16;  // "O programie"
  Button Button17;  // "Edytuj tekst"
  Button Button18;  // "Przerwij"
  Button Button20;  // "Ze schowka"

  // --- Panes ---------------------------------------------------------------------------------
  Label PreviewLabel;
  Memo PreviewMemo;  // the lines the text import reads
  Label PointCountLabel;
  Label InfoLabel2, InfoLabel3, InfoLabel4;
  Label LogLabel;
  Memo LogMemo;

  // --- Record structure, codes and thicknesses -----------------------------------------------
  Label RecordGroupLabel;
  ComboBox SeparatorCombo;
  ComboBox PositionXCombo, PositionYCombo, PositionZCombo, PositionSymbolCombo, PositionTypeCombo;
  Edit AxisCodeEdit, Pavement1CodeEdit, Pavement2CodeEdit, Humus1CodeEdit, Humus2CodeEdit;
  Edit Pavement1ThicknessEdit, Pavement2ThicknessEdit, Humus1ThicknessEdit, Humus2ThicknessEdit;

  StatusBar StatusBar1;
  ProgressBar ProgressBar1;

  // Recent-file items of the "Plik" menu, built at start-up.
  std::vector<std::string> recentMenuCaptions;

  // Hidden work list of the point tools (the settings files are read into buffers of their own).
  std::vector<std::string> pointToolLines;

  // --- State ---------------------------------------------------------------------------------
  std::filesystem::path programFolder;
  std::filesystem::path dataFolder;
  std::string currentTextFile;
  std::string currentDxfFile;  // the drawing last read by "Wczytaj dane z DXF"
  std::string pendingFile;
  std::string pointFileName = "NOWEPUNKTY.MERI";
  bool pointsSaved = true;
  bool abortRequested = false;
  bool appMinimized = false;
  std::string baseTitle = "Merilon-[ ]";
  bool firstActivation = true;
  std::string helpFile;

  // --- Window-level handlers -----------------------------------------------------------------
  // Start-up; false when the stores could not be allocated (the program then ends).
  bool FormCreate();
  void FormActivate();
  // Shut-down: true when the window may close.
  bool FormCloseQuery();
  void FormKeyDown(WindowKey key, bool ctrl, bool alt);
  void PROGMINI();
  void PROGMAXI();
  void MyMenuHandler(const std::string& caption);
  void FilesDropped(const std::vector<std::string>& files);
  void MenuClick(MenuCommand command);
  // Asks to close the window, as "Zamknij program" and "Zakończ" do.
  void requestClose();

  // --- Command handlers ----------------------------------------------------------------------
  void Button8Click();
  void Button1Click();
  void Button14Click();
  void Button2Click();
  void Button3Click();
  void Button5Click();
  void Button15Click();
  void Button13Click();
  void Button23Click();
  void Button7Click();
  void Button10Click();
  void Button19Click();
  void Button9Click();
  void Button16Click();
  void Button17Click();
  void Button18Click();
  void Button20Click();

  // --- Services ------------------------------------------------------------------------------
  void disableCommands();
  void enableCommands();
  void progressStart(int max);
  void progressPosition(int pos);
  void showStatus(const std::string& text);
  void logMessage(const std::string& text);
  void setDocumentTitle(const std::string& fileName);
  void refreshPointCount();

  // The record-structure group as MERI_PARAM.knf keeps it, and back.
  FileParams currentFileParams() const;
  void applyFileParams(const FileParams& params);
  // Remembers / restores the group under a data file's name (MERI_PARAM.knf).
  void saveFileParams(const std::string& fileName);
  void loadFileParams(const std::string& fileName);
  void addRecentFile(const std::string& name);

  // The request of an open dialog: it proposes `pendingFile` (from the recent-files menu or a
  // dropped file), starting in its folder, which becomes the data folder, and consumes it;
  // otherwise it starts in the data folder.
  FileDialogRequest openDialogRequest(const std::string& title, const std::string& filter);

  // Reports a file that could not be read or written.
  void reportFileError(const std::string& title, const std::string& fileName,
                       const std::string& reason);

  // Buttons of the set that long commands disable.
  std::vector<Button*> commandSet();
  // True while a long command runs: it holds the set disabled, "Zamknij program" with it. The
  // windows outside the set (the drawing window, the DXF export dialog) stay clickable then, and
  // what in them would change the points or start a command of its own waits for it to end.
  bool commandRunning() const { return !Button13.enabled; }

  // Set when the window has been allowed to close.
  bool closed = false;

 private:
  Program& program_;
};

// Disables the commands for the life of a command and restores cursor, commands and progress bar
// however the command ends.
class CommandGuard {
 public:
  explicit CommandGuard(TFORM_Main& main);
  ~CommandGuard();
  CommandGuard(const CommandGuard&) = delete;
  CommandGuard& operator=(const CommandGuard&) = delete;

 private:
  TFORM_Main& main_;
};

}  // namespace merilon

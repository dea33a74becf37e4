// The running program: owns every store and every window, created in the documented order.
// Nothing is global, so a test makes a fresh program and throws it away.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "alignment/alignment.h"
#include "alignment/cross_section_dialog.h"
#include "alignment/section_viewer.h"
#include "drawing/drawing_dialogs.h"
#include "drawing/drawing_window.h"
#include "drawing/point_edit_dialog.h"
#include "drawing/point_generation_dialog.h"
#include "drawing/point_search_dialog.h"
#include "drawing/point_tools.h"
#include "dxf/dxf_export.h"
#include "dxf/dxf_underlay.h"
#include "help/about_box.h"
#include "help/description_viewer.h"
#include "platform/platform.h"
#include "points/point_history.h"
#include "points/point_store.h"
#include "points/record_parser.h"
#include "shell/main_window.h"
#include "shell/project_catalogue.h"
#include "shell/recent_files.h"
#include "shell/settings.h"
#include "shell/settings_folders.h"

namespace merilon {

struct ProgramOptions {
  // Folder of the executable: settings files and the files shipped with the program.
  std::filesystem::path programFolder;
  // Where the written settings go when the program folder is not writable.
  std::filesystem::path userSettingsFolder = SettingsFolders::defaultUserFolder();
  // Where file dialogs first start; the program folder when empty.
  std::filesystem::path initialDataFolder;
};

class Program {
 public:
  Program(Platform& platform, ProgramOptions options);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform& platform;
  ProgramOptions options;
  SettingsFolders folders;
  PointStore points;
  RecordParser parser;
  RecentFiles recent;
  // merilon.knf, read afresh by every command that uses it (`readSettings`).
  Settings settings;
  // The name last chosen for a text export.
  std::string lastTextExport;

  // The drawing window sets itself up afresh when next shown if this is false.
  bool drawingPrepared = false;

  // The road alignment, one at a time.
  Alignment alignment;
  // Called when a point file is opened: the loaded alignment is discarded (the cross-section
  // dialog sets it).
  std::function<void()> discardAlignment;
  // Called when points are opened or imported, with the saved flag the store then has: the
  // point tools forget their undo history.
  std::function<void(bool saved)> pointsReplaced;
  // Point edits, inserts and generations, for "Cofnij" and "Ponów".
  PointHistory pointHistory;

  // The DXF drawing shown behind the survey ("Podczytaj dxf").
  DxfUnderlay underlay;

  // The windows, in the order they are created.
  TFORM_Main main;
  TFormProjekty FormProjekty;
  TFormtrojpomoc Formtrojpomoc;
  TFormPoprzeczka FormPoprzeczka{*this, alignment};
  TFormMERIInfo FormMERIInfo;
  TGRAFIKA GRAFIKA{*this};
  TFormParam_rysow FormParam_rysow{platform, GRAFIKA};
  TFormZmienpkt FormZmienpkt{*this};
  TFormRysowan_obrot FormRysowan_obrot{platform, GRAFIKA};
  TFormszukaj_pkt Formszukaj_pkt{*this};
  TFormDXF FormDXF{*this};
  TFormGenerpkt FormGenerpkt{*this};
  // What the drawing window's tool states hand over to.
  PointTools pointTools{*this};
  // The cross-section viewer of the drawing window.
  TFormPrzekroje FormPrzekroje{platform};

  // Runs the start-up of the main window; false when the program must end.
  bool start();

  // Runs a handler so that no exception crosses it: an unforeseen failure is shown as a message
  // and the commands are enabled again.
  void runHandler(const std::function<void()>& handler);
};

}  // namespace merilon

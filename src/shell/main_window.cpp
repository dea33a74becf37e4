#include "shell/main_window.h"

#include "dxf/dxf_export.h"
#include "dxf/dxf_read_command.h"
#include "dxf/underlay_command.h"
#include "platform/cp1250.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_file.h"
#include "points/text_export.h"
#include "points/text_import.h"
#include "shell/program.h"

namespace merilon {
namespace {

void setButton(Button& b, const char* caption, const char* hint) {
  b.caption = caption;
  b.hint = hint;
}

std::vector<std::string> numberItems(int from, int to) {
  std::vector<std::string> items;
  for (int k = from; k <= to; ++k) items.push_back(formatInt(k));
  return items;
}

void setPositionCombo(ComboBox& c, const char* text, int firstItem) {
  c.text = text;
  c.items = numberItems(firstItem, 20);
  c.maxLength = 2;
  c.keyFilter = KeyFilter::Integer;
}

}  // namespace

TFORM_Main::TFORM_Main(Program& program) : program_(program) {
  Caption = "Merilon-[ ]";
  setButton(Button8, "Projekt",
            "Otwarcie projektu systemu VORDA (szybki dostęp do katalogu z danymi)");
  setButton(Button1, "Otwórz plik tekstowy", "Otwarcie pliku z danymi o punktach");
  setButton(Button14, "Wczytaj dane z DXF",
            "Wybranie z pliku DXF danych tekstowych o współrzędnych punktów");
  setButton(Button2, "Wczytaj do Punktów", "Dopisanie danych z okienka tekstowegodo Merilonu");
  setButton(Button3, "Otwórz Punkty", "Wczytanie Punkty (dane Merilonu)");
  setButton(Button5, "Zapisz Punkty", "Zapisanie Punktów programu Merilon");
  setButton(Button15, "Zapisz dane txt", "Zapis danych tekstowych (np. pobranych z pliku DXF)");
  setButton(Button23, "Zapisz Punkty do txt", "Zapis punktów do pliku tekstowego");
  setButton(Button7, "Generuj DXF3D", "Generowanie rysunku DXF z punktami i opisami");
  setButton(Button10, "Generuj poprzeczki",
            "Generowanie przekrojów poprzecznych terenu dla systemu VORDA");
  setButton(Button19, "Rysuj", "Rysowanie na ekranie");
  setButton(Button9, "Opis programu", "Opis programu, pomoc");
  setButton(Button16, "O programie", "Informacja o programie");
  setButton(Button13, "Zamknij program", "Zamknij program");
  setButton(Button17, "Edytuj tekst",
            "Uaktywnienie możliwości edycji danych w okienku \"Podgląd otworzonego pliku "
            "tekstowego\"");
  setButton(Button18, "Przerwij", "Przerwanie długotrwałego procesu");
  setButton(Button20, "Ze schowka", "Dopisanie współrzędnych ze schowka");

  PreviewLabel.caption = "Podgląd otworzonego pliku tekstowego z danymi";
  PreviewMemo.readOnly = true;
  PointCountLabel.caption = "...";
  InfoLabel2.caption = "...";
  InfoLabel3.caption = "...";
  InfoLabel4.caption = "...";
  LogLabel.caption = "Informacje, komunikaty błędów i ostrzeżenia";
  LogMemo.readOnly = true;

  RecordGroupLabel.caption =
      "Parametry pliku tekstowego z danymi  i z Punktami (struktura,  separator, symbolika)";
  SeparatorCombo.text = ", (przecinek)";
  SeparatorCombo.items = {", Przecinek)", "; (Średnik)", "t (tabulator)", "  (spacja)"};
  setPositionCombo(PositionXCombo, "1", 1);
  setPositionCombo(PositionYCombo, "2", 1);
  setPositionCombo(PositionZCombo, "3", 1);
  setPositionCombo(PositionSymbolCombo, "4", 0);
  setPositionCombo(PositionTypeCombo, "0", 0);
  AxisCodeEdit.text = "S";
  Pavement1CodeEdit.text = "NA";
  Pavement2CodeEdit.text = "NB";
  Humus1CodeEdit.text = "HA";
  Humus2CodeEdit.text = "HB";
  for (Edit* e : {&Pavement1ThicknessEdit, &Humus1ThicknessEdit}) e->text = "0.50";
  for (Edit* e : {&Pavement2ThicknessEdit, &Humus2ThicknessEdit}) e->text = "0.30";
  for (Edit* e : {&Pavement1ThicknessEdit, &Pavement2ThicknessEdit, &Humus1ThicknessEdit,
                  &Humus2ThicknessEdit}) {
    e->keyFilter = KeyFilter::Decimal;
  }
}

Platform& TFORM_Main::platform() { return program_.platform; }

std::vector<Button*> TFORM_Main::commandSet() {
  return {&Button8,  &Button1,  &Button14, &Button2,  &Button3,  &Button5,
          &Button15, &Button13, &Button7,  &Button10, &Button19, &Button17};
}

// --- Start-up and shut-down -------------------------------------------------------------------

bool TFORM_Main::FormCreate() {
  firstActivation = true;
  appMinimized = false;
  abortRequested = false;
  programFolder = program_.options.programFolder;
  dataFolder = programFolder;
  helpFile = (programFolder / "Merilon.HLP").string();
  LogMemo.clear();
  pointsSaved = true;
  pointFileName = "NOWEPUNKTY.MERI";
  setDocumentTitle(" ");
  program_.recent.loadRecentFiles(program_.folders.forReading("MERI_OST_PLIKI.bin"));
  recentMenuCaptions = program_.recent.buildRecentMenu();
  return program_.points.initialise();
}

void TFORM_Main::FormActivate() {
  if (!firstActivation) return;
  firstActivation = false;
  showAboutAtStartup(program_);
  TFormGenerpkt& generation = program_.FormGenerpkt;
  generation.proportion = 0.5;
  generation.distance = NO_VALUE_F;
  generation.chainage = NO_VALUE_F;
}

bool TFORM_Main::FormCloseQuery() {
  if (commandRunning()) return false;
  if (!pointsSaved) {
    const auto answer = showMessage(
        platform(), MessageIcon::Question, MessageButtons::YesNo, "Zamknięcie programu",
        "Nie zapisano następujących danych: PUNKTY . Utracisz dane, czy mimo to zamknąć program?",
        DialogResult::No);
    if (answer != DialogResult::Yes) return false;
  }
  std::string error;
  const auto file = program_.folders.forWriting("MERI_OST_PLIKI.bin");
  if (!program_.recent.saveRecentFiles(file, error)) {
    reportFileError("Błąd zapisu pliku", file.string(), error);
  }
  closed = true;
  return true;
}

void TFORM_Main::requestClose() {
  if (FormCloseQuery()) platform().closeForm(*this);
}

void TFORM_Main::FormKeyDown(WindowKey key, bool ctrl, bool alt) {
  if (key == WindowKey::F1 && ctrl && alt) {
    platform().minimizeApplication();
  } else if (key == WindowKey::F1 && alt) {
    platform().showModeless(program_.GRAFIKA);
  } else if (key == WindowKey::Escape) {
    Button18Click();
  }
}

void TFORM_Main::PROGMINI() {
  appMinimized = true;
  platform().setApplicationTitle(baseTitle);
}

void TFORM_Main::PROGMAXI() {
  appMinimized = false;
  platform().setApplicationTitle(baseTitle);
}

// --- Files from the menu and the desktop --------------------------------------------------------

void TFORM_Main::MyMenuHandler(const std::string& caption) {
  // An accelerator mark belongs to the item's number; the file name after it is taken as it is.
  std::string text = caption;
  if (text.starts_with('&')) text.erase(0, 1);
  pendingFile = text.size() > 2 ? text.substr(2) : std::string();
  const std::string ext = upperExtension(pendingFile);
  if (ext == ".MERI") {
    MenuClick(MenuCommand::OpenPoints);
  } else if (ext == ".DXF") {
    MenuClick(MenuCommand::OpenDxf);
  } else {
    MenuClick(MenuCommand::OpenText);
  }
}

void TFORM_Main::FilesDropped(const std::vector<std::string>& files) {
  if (files.empty()) return;
  pendingFile = utf8Prefix(files.front(), 255);
  const std::string ext = upperExtension(pendingFile);
  if (ext == ".MERI") {
    MenuClick(MenuCommand::OpenPoints);
  } else if (ext == ".DXF") {
    MenuClick(MenuCommand::OpenDxf);
  } else if (ext == ".TXT" || ext == ".ASC" || ext == ".CSV") {
    MenuClick(MenuCommand::OpenText);
  }
}

void TFORM_Main::MenuClick(MenuCommand command) {
  // Menu items are never disabled; a command whose button a long command disabled does nothing.
  auto run = [](Button& b, void (TFORM_Main::*handler)(), TFORM_Main& self) {
    if (b.enabled) (self.*handler)();
  };
  switch (command) {
    case MenuCommand::Project:
      run(Button8, &TFORM_Main::Button8Click, *this);
      break;
    case MenuCommand::OpenText:
      run(Button1, &TFORM_Main::Button1Click, *this);
      break;
    case MenuCommand::OpenDxf:
      run(Button14, &TFORM_Main::Button14Click, *this);
      break;
    case MenuCommand::ImportPoints:
      run(Button2, &TFORM_Main::Button2Click, *this);
      break;
    case MenuCommand::OpenPoints:
      run(Button3, &TFORM_Main::Button3Click, *this);
      break;
    case MenuCommand::SavePoints:
      run(Button5, &TFORM_Main::Button5Click, *this);
      break;
    case MenuCommand::SaveText:
      run(Button15, &TFORM_Main::Button15Click, *this);
      break;
    case MenuCommand::Exit:
      run(Button13, &TFORM_Main::Button13Click, *this);
      break;
    case MenuCommand::GenerateDxf3d:
      run(Button7, &TFORM_Main::Button7Click, *this);
      break;
    case MenuCommand::GenerateSections:
      run(Button10, &TFORM_Main::Button10Click, *this);
      break;
    case MenuCommand::Drawing:
      run(Button19, &TFORM_Main::Button19Click, *this);
      break;
    case MenuCommand::About:
      Button16Click();
      break;
    case MenuCommand::Description:
      Button9Click();
      break;
    case MenuCommand::LoadUnderlay:
      loadUnderlay(*this);
      break;
    case MenuCommand::DetachUnderlay:
      hideUnderlay(*this);
      break;
  }
}

// --- Commands --------------------------------------------------------------------------------

void TFORM_Main::Button1Click() {
  CommandGuard guard(*this);
  const auto chosen = platform().chooseOpenFile(
      openDialogRequest("Otwórz plik tekstowy", "Pliki tekstowe|*.txt|Wszystkie pliki|*.*"));
  if (!chosen) return;
  platform().setBusyCursor(true);
  const std::string name = chosen->string();
  TextLines lines;
  std::string error;
  if (!readUserText(*chosen, lines, error)) {
    platform().setBusyCursor(false);
    reportFileError("Błąd odczytu pliku", name, error);
    return;
  }
  currentTextFile = name;
  addRecentFile(name);
  if (chosen->has_parent_path()) dataFolder = chosen->parent_path();
  PreviewMemo.readOnly = true;
  PreviewMemo.setText(std::move(lines));
  platform().setBusyCursor(false);
  loadFileParams(name);
}

void TFORM_Main::Button2Click() { importPreviewText(*this); }

void TFORM_Main::Button3Click() { openPointsCommand(*this); }

void TFORM_Main::Button5Click() {
  platform().setBusyCursor(true);
  CommandGuard guard(*this);
  savePointsCommand(*this);
}

void TFORM_Main::Button13Click() {
  saveFileParams(pointFileName);
  requestClose();
}

void TFORM_Main::Button17Click() { PreviewMemo.readOnly = false; }

void TFORM_Main::Button18Click() { abortRequested = true; }

void TFORM_Main::Button20Click() {
  const auto text = platform().clipboardText();
  if (!text || text->empty()) {
    showMessage(platform(), MessageIcon::Warning, MessageButtons::Ok, "Pobranie ze schowka",
                "Brak danych tekstowych");
    return;
  }
  PreviewMemo.appendLines(splitLines(*text));
}

void TFORM_Main::Button8Click() { runProjectCommand(*this); }
void TFORM_Main::Button15Click() { exportPreviewText(*this); }
void TFORM_Main::Button23Click() { exportPointText(*this); }
void TFORM_Main::Button10Click() {
  runCrossSectionCommand(program_, program_.FormPoprzeczka, false);
}
void TFORM_Main::Button9Click() { showDescription(program_); }
void TFORM_Main::Button16Click() { showAbout(program_); }

void TFORM_Main::Button14Click() { readDxfDataCommand(*this); }
void TFORM_Main::Button7Click() { generateDxf3dCommand(program_); }

void TFORM_Main::Button19Click() {
  if (program_.points.pointCount() < 1) {
    showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, "Rysowanie",
                "Nie wczytano danych!");
    return;
  }
  program_.GRAFIKA.openDrawingWindow();
}

// --- Services --------------------------------------------------------------------------------

void TFORM_Main::disableCommands() {
  abortRequested = false;
  for (Button* b : commandSet()) b->enabled = false;
}

void TFORM_Main::enableCommands() {
  for (Button* b : commandSet()) b->enabled = true;
}

void TFORM_Main::progressStart(int max) {
  ProgressBar1.minimum = 0;
  ProgressBar1.maximum = max > 0 ? max : 1;
  ProgressBar1.step =
      ProgressBar1.maximum >= 11 ? std::max(1, ProgressBar1.maximum / 100) : ProgressBar1.maximum;
  ProgressBar1.position = 0;
  platform().processPendingEvents();
}

void TFORM_Main::progressPosition(int pos) {
  if (pos < 0 || pos > ProgressBar1.maximum) return;
  ProgressBar1.position = pos;
  platform().processPendingEvents();
  if (pos < 1) {
    platform().setApplicationTitle(baseTitle);
  } else if (appMinimized && pos % ProgressBar1.step == 0) {
    platform().setApplicationTitle(
        "Merilon-[" + formatInt(static_cast<long long>(pos) * 100 / ProgressBar1.maximum) + "%]");
  }
}

void TFORM_Main::showStatus(const std::string& text) { StatusBar1.text = text; }

void TFORM_Main::logMessage(const std::string& text) { LogMemo.appendLine(text); }

void TFORM_Main::setDocumentTitle(const std::string& fileName) {
  const std::string base = std::filesystem::path(fileName).filename().string();
  baseTitle = "Merilon-[" + stripExtension(base.empty() ? fileName : base) + "]";
  Caption = baseTitle;
  platform().setApplicationTitle(baseTitle);
}

void TFORM_Main::refreshPointCount() {
  const int n = program_.points.pointCount();
  PointCountLabel.caption = n > 0 ? "Liczba punktów w do analizy: " + formatInt(n) : "...";
}

FileParams TFORM_Main::currentFileParams() const {
  FileParams p;
  p.positionX = PositionXCombo.text;
  p.positionY = PositionYCombo.text;
  p.positionZ = PositionZCombo.text;
  p.positionSymbol = PositionSymbolCombo.text;
  p.positionType = PositionTypeCombo.text;
  p.separator = SeparatorCombo.text;
  p.axisCode = AxisCodeEdit.text;
  p.pavement1Code = Pavement1CodeEdit.text;
  p.pavement2Code = Pavement2CodeEdit.text;
  p.humus1Code = Humus1CodeEdit.text;
  p.humus2Code = Humus2CodeEdit.text;
  p.pavement1Thickness = Pavement1ThicknessEdit.text;
  p.pavement2Thickness = Pavement2ThicknessEdit.text;
  p.humus1Thickness = Humus1ThicknessEdit.text;
  p.humus2Thickness = Humus2ThicknessEdit.text;
  return p;
}

void TFORM_Main::applyFileParams(const FileParams& p) {
  PositionXCombo.text = p.positionX;
  PositionYCombo.text = p.positionY;
  PositionZCombo.text = p.positionZ;
  PositionSymbolCombo.text = p.positionSymbol;
  PositionTypeCombo.text = p.positionType;
  SeparatorCombo.text = p.separator;
  AxisCodeEdit.text = p.axisCode;
  Pavement1CodeEdit.text = p.pavement1Code;
  Pavement2CodeEdit.text = p.pavement2Code;
  Humus1CodeEdit.text = p.humus1Code;
  Humus2CodeEdit.text = p.humus2Code;
  Pavement1ThicknessEdit.text = p.pavement1Thickness;
  Pavement2ThicknessEdit.text = p.pavement2Thickness;
  Humus1ThicknessEdit.text = p.humus1Thickness;
  Humus2ThicknessEdit.text = p.humus2Thickness;
}

void TFORM_Main::saveFileParams(const std::string& fileName) {
  // The settings go through the hidden buffer, which then no longer holds the sections.
  program_.FormPoprzeczka.sectionTextLoaded = false;
  std::string error;
  const auto writeFile = program_.folders.forWriting("MERI_PARAM.knf");
  if (!merilon::saveFileParams(program_.parser, program_.folders.forReading("MERI_PARAM.knf"),
                               writeFile, fileName, currentFileParams(), error)) {
    reportFileError("Błąd zapisu pliku", writeFile.string(), error);
  }
}

void TFORM_Main::loadFileParams(const std::string& fileName) {
  program_.FormPoprzeczka.sectionTextLoaded = false;
  FileParams p = currentFileParams();
  if (merilon::loadFileParams(program_.parser, program_.folders.forReading("MERI_PARAM.knf"),
                              fileName, p)) {
    applyFileParams(p);
  }
}

void TFORM_Main::addRecentFile(const std::string& name) { program_.recent.addRecentFile(name); }

FileDialogRequest TFORM_Main::openDialogRequest(const std::string& title,
                                                const std::string& filter) {
  FileDialogRequest request;
  request.title = title;
  request.filter = filter;
  if (!pendingFile.empty()) {
    request.proposedName = pendingFile;
    request.initialFolder = std::filesystem::path(pendingFile).parent_path();
    dataFolder = request.initialFolder;
    pendingFile.clear();
  } else {
    request.initialFolder = dataFolder;
  }
  return request;
}

void TFORM_Main::reportFileError(const std::string& title, const std::string& fileName,
                                 const std::string& reason) {
  showMessage(platform(), MessageIcon::Error, MessageButtons::Ok, title, fileName + "\n" + reason);
}

CommandGuard::CommandGuard(TFORM_Main& main) : main_(main) { main_.disableCommands(); }

CommandGuard::~CommandGuard() {
  main_.platform().setBusyCursor(false);
  main_.enableCommands();
  // An aborted or failed command leaves the progress bar where it stopped; a finished one has
  // already set it back.
  if (main_.ProgressBar1.position != 0) main_.progressPosition(0);
}

}  // namespace merilon

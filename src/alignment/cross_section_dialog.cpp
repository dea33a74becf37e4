#include "alignment/cross_section_dialog.h"

#include <cmath>
#include <filesystem>

#include "platform/busy_cursor.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/point_file.h"
#include "shell/program.h"

namespace merilon {
namespace {

void setNumberEdit(Edit& e, const char* text, int maxLength = 0) {
  e.text = text;
  e.keyFilter = KeyFilter::Decimal;
  e.maxLength = maxLength;
}

double fieldValue(const Edit& e) { return parseFloatText(e.text); }

}  // namespace

TFormPoprzeczka::TFormPoprzeczka(Program& program, Alignment& alignment)
    : FormWyborTrasy(program.platform), program_(program), alignment_(alignment) {
  Caption = "Generowanie przekrojów poprzecznych";
  Button5.caption = "Wybierz trasę";
  Label5.caption = "Opis trasy:";
  Label5.visible = false;
  Label6.caption = "...";
  Label1.caption = "Pikietaż początkowy";
  Label2.caption = "Pikietaż końcowy";
  Label3.caption = "Maksymalna\nszerokość lewa";
  Label4.caption = "Maksymalna\nszerokość prawa";
  Label7.caption = "Zakres\npikietaża poprzeczki";
  Label8.caption = "Dokładność\npikietaża";
  Label9.caption = "Maksymalna odległość punktu w jednopunktowej poprzeczce";
  setNumberEdit(Edit3, "");
  setNumberEdit(Edit4, "");
  setNumberEdit(Edit1, "-50", 6);
  setNumberEdit(Edit2, "50", 6);
  setNumberEdit(Edit5, "4.00");
  setNumberEdit(Edit6, "0.01");
  setNumberEdit(Edit7, "2.0");
  RadioButton1.caption = "Kody nawierzchni i humusu dla wszystkich punktów poprzeczki";
  RadioButton1.checked = true;
  RadioButton2.caption = "Kody nawierzchni i humusu tylko na granicy";
  Button1.caption = "Generuj";
  Button2.caption = "Rezygnuj";
  Button6.caption = "Przerwij";
  Button6.hint = "Przerwanie procesu generowania poprzeczek";
  Button6.visible = false;
  program_.discardAlignment = [this] { discardAlignment(); };
}

void TFormPoprzeczka::setMode(bool fromDrawingWindow) {
  Caption = fromDrawingWindow ? "Dane trasy i przekrojów" : "Generowanie przekrojów poprzecznych";
  Button1.visible = !fromDrawingWindow;
  Button1.enabled = !fromDrawingWindow;
  Button2.caption = fromDrawingWindow ? "Zamknij" : "Rezygnuj";
}

void TFormPoprzeczka::FormActivate() {
  if (alignment_.count < 1) {
    Edit3.text.clear();
    Edit4.text.clear();
    Label6.caption.clear();
  }
}

void TFormPoprzeczka::Button5Click() {
  if (generating_) return;
  pointsClassified = false;
  alignmentLoaded = loadAlignment(program_, alignment_,
                                  {Edit3, Edit4, Label6, Label5, &FormWyborTrasy}, workText);
  if (alignmentLoaded) sectionTextLoaded = false;
}

CrossSectionParams TFormPoprzeczka::readParams() const {
  const TFORM_Main& main = program_.main;
  CrossSectionParams p;
  p.startChainage = fieldValue(Edit3);
  p.endChainage = fieldValue(Edit4);
  p.leftLimit = -std::fabs(fieldValue(Edit1));
  p.rightLimit = std::fabs(fieldValue(Edit2));
  p.sectionRange = std::fabs(fieldValue(Edit5));
  p.chainageAccuracy = std::fabs(fieldValue(Edit6));
  p.singlePointMaxDistance = std::fabs(fieldValue(Edit7));
  p.boundaryCodesOnly = RadioButton2.checked;
  p.axisCode = main.AxisCodeEdit.text;
  p.pavementCodes = {main.Pavement1CodeEdit.text, main.Pavement2CodeEdit.text};
  p.humusCodes = {main.Humus1CodeEdit.text, main.Humus2CodeEdit.text};
  p.pavementThicknesses = {std::fabs(fieldValue(main.Pavement1ThicknessEdit)),
                           std::fabs(fieldValue(main.Pavement2ThicknessEdit))};
  p.humusThicknesses = {std::fabs(fieldValue(main.Humus1ThicknessEdit)),
                        std::fabs(fieldValue(main.Humus2ThicknessEdit))};
  return p;
}

void TFormPoprzeczka::Button1Click() {
  if (!alignmentLoaded || generating_) return;
  Platform& platform = program_.platform;
  TFORM_Main& main = program_.main;
  const CrossSectionParams params = readParams();
  if (!(params.endChainage > params.startChainage)) {
    showMessage(platform, MessageIcon::Error, MessageButtons::Ok, "Błędne dane",
                "Nierosnący pikietaż trasy");
    return;
  }
  {
    // The buttons come back as they were, however the run ends.
    struct RunGuard {
      TFormPoprzeczka& d;
      bool choose = d.Button5.enabled, generate = d.Button1.enabled, close = d.Button2.enabled;
      explicit RunGuard(TFormPoprzeczka& dialog) : d(dialog) {
        d.generating_ = true;
        d.Button5.enabled = d.Button1.enabled = d.Button2.enabled = false;
      }
      ~RunGuard() {
        d.generating_ = false;
        d.Button5.enabled = choose;
        d.Button1.enabled = generate;
        d.Button2.enabled = close;
      }
    } running(*this);
    BusyCursor busy(platform);
    stored = params;
    CrossSectionReport report;
    report.log = [&main](const std::string& text) { main.logMessage(text); };
    report.status = [&main](const std::string& text) { main.showStatus(text); };
    report.progressStart = [&main](int maximum) { main.progressStart(maximum); };
    report.progressPosition = [&main](int position) { main.progressPosition(position); };
    generateCrossSections(program_.points, alignment_, params, workText, report);
    pointsClassified = alignment_.count >= 1;  // what projectAllPoints returned
    sectionTextLoaded = workText.size() > 3;
    if (workText.size() > 3) saveSections();
    main.showStatus("");
    main.progressPosition(0);
  }
  platform.closeForm(*this);
}

void TFormPoprzeczka::saveSections() {
  Platform& platform = program_.platform;
  TFORM_Main& main = program_.main;
  main.showStatus("Zapis Przekrojów poprzecznych");
  FileDialogRequest request;
  request.title = "Zapis Przekrojów poprzecznych";
  request.filter = "Przekroje poprzeczne terenu|*.TER";
  request.defaultExtension = "TER";
  request.initialFolder = main.dataFolder;
  request.proposedName = lastTerFileName;
  const auto chosen = platform.chooseSaveFile(request);
  if (!chosen) return;
  const std::string name = stripExtension(chosen->string()) + ".TER";
  lastTerFileName = name;
  main.dataFolder = std::filesystem::path(name).parent_path();
  // The shared text writer asks before replacing a file and reports a failed write.
  writeTextFile(main, workText, name, 0, WriteKind::PreviewText);
}

void TFormPoprzeczka::Button2Click() {
  if (generating_) return;
  Button1.enabled = true;
  if (alignmentLoaded && !trimBlanks(Edit3.text).empty()) {
    const CrossSectionParams p = readParams();
    stored.axisCode = p.axisCode;
    stored.sectionRange = p.sectionRange;
    stored.startChainage = p.startChainage;
    stored.endChainage = p.endChainage;
    stored.leftLimit = p.leftLimit;
    stored.rightLimit = p.rightLimit;
  }
  program_.platform.closeForm(*this);
}

void TFormPoprzeczka::Button6Click() { program_.main.abortRequested = true; }

void TFormPoprzeczka::discardAlignment() {
  alignment_.count = 0;
  alignment_.loaded = false;
  alignment_.recordsChanged();
  alignmentLoaded = false;
  pointsClassified = false;
}

void runCrossSectionCommand(Program& program, TFormPoprzeczka& dialog, bool fromDrawingWindow) {
  TFORM_Main& main = program.main;
  dialog.setMode(fromDrawingWindow);
  if (program.points.pointCount() == 0 && dialog.Button1.enabled) {
    showMessage(program.platform, MessageIcon::Warning, MessageButtons::Ok,
                "Generowanie przekrojów poprzecznych",
                "Ani nie wczytano ani nie wygenerowano punktów programu Merilon !!!");
    main.enableCommands();
    return;
  }
  main.saveFileParams(main.pointFileName);
  CommandGuard guard(main);
  dialog.FormActivate();
  program.platform.showModal(dialog);
}

}  // namespace merilon

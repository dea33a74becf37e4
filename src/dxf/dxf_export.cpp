#include "dxf/dxf_export.h"

#include <cmath>
#include <numbers>

#include "alignment/alignment_geometry.h"
#include "dxf/dxf_support_texts.h"
#include "dxf/dxf_writer.h"
#include "platform/busy_cursor.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/no_value.h"
#include "points/numeric_helpers.h"
#include "points/record_parser.h"
#include "shell/program.h"

namespace merilon {
namespace {

// The colour entries of KOLOR used by the export.
constexpr int kPointColour = 7;
constexpr int kLabelColour = 5;
constexpr int kHeightColour = 1;

void setCheckBox(CheckBox& c, const char* caption) {
  c.caption = caption;
  c.checked = false;
}

double heightField(const Edit& e) {
  const double v = parseFloatText(e.text);
  return v == NO_VALUE ? 1.0 : v;
}

// The cross-sections of the current .TER text: chainage labels and the 3D segments between the
// points of each section, coloured by the layer value of the segment's first point.
void writeCrossSections(Program& program, DxfWriter& writer, double chainageLabelHeight) {
  TFormPoprzeczka& sections = program.FormPoprzeczka;
  const std::string& terFile = sections.lastTerFileName;
  if (!sections.sectionTextLoaded && !terFile.empty() && fileExists(terFile)) {
    std::vector<std::string> lines;
    std::string error;
    if (readCp1250Lines(terFile, lines, error)) {
      sections.workText = std::move(lines);
      sections.sectionTextLoaded = true;
    }
  }
  const std::vector<std::string>& text = sections.workText;
  // Without sections, or without the axis that places them, there is nothing to draw.
  if (!sections.sectionTextLoaded || text.size() < 5 || terFile.empty()) return;
  if (program.alignment.count < 1) return;
  RecordParser& parser = program.parser;
  parser.fieldSeparator = ",";
  const auto& colours = program.settings.colours;
  auto split = [&parser](const std::string& l) {
    parser.recordLine = l;
    parser.splitRecord();
  };
  split(text[1]);
  const int sectionCount = parser.intField(5) + 1;
  std::size_t line = 2;
  for (int s = 0; s < sectionCount && line < text.size(); ++s) {
    split(text[line++]);
    const double chainage = parser.floatField(1);
    const int n = parser.intField(2) / 3;
    if (chainage == NO_VALUE || n < 1) break;
    double xa = 0, ya = 0, azimuth = 0;
    pointAtChainage(program.alignment, chainage, xa, ya, azimuth);
    const double sinA = std::sin(azimuth), cosA = std::cos(azimuth);
    double prevX = 0, prevY = 0, prevZ = 0, prevT = 0;
    for (int j = 1; j <= n; ++j, line += 4) {
      if (line + 2 >= text.size()) return;  // the counts promise more lines than there are
      const double d = parseFloatText(text[line]);
      const double z = parseFloatText(text[line + 1]);
      const double t = parseFloatText(text[line + 2]);
      const double bx = xa + d * cosA, by = ya - d * sinA;
      if (j == 1) {
        const double h = chainageLabelHeight;
        writer.writeText("PIKPOPRZ", formatFixed(chainage, 2), colours[kLabelColour],
                         bx - kChainageLabelOffsetFactor * h * sinA,
                         by - kChainageLabelOffsetFactor * h * cosA, z, h,
                         -azimuth * 180 / std::numbers::pi);
      } else {
        const int colour = prevT == 0 ? colours[3] : (prevT < 0 ? colours[6] : colours[2]);
        writer.write3dLine("POPRZECZ", colour, prevX, prevY, prevZ, bx, by, z);
      }
      prevX = bx;
      prevY = by;
      prevZ = z;
      prevT = t;
    }
  }
}

}  // namespace

const std::vector<DxfLayer>& dxfLayers() {
  static const std::vector<DxfLayer> layers = {
      {"PUNKTY", 3},   {"NR_PKTOW", 8}, {"RZEDNE", 3},  {"SYMB-PKT", 3}, {"LINIE", 3},
      {"GRANICE", 8},  {"WARSTIN", 3},  {"WARSTGL", 3}, {"WARSOPIS", 3}, {"SYMBOLE", 3},
      {"POPRZECZ", 3}, {"PIKPOPRZ", 3}, {"NAW-1", 3},   {"NAW-2", 3},    {"NAW-3", 3},
      {"W-OSI", 3},    {"KORONA-P", 3}, {"ROW-P", 3},   {"SKARPA-P", 3}, {"POSRED", 3}};
  return layers;
}

TFormDXF::TFormDXF(Program& program) : program_(program) {
  Caption = "Dane rysunku DXF 3D";
  GroupBox1.caption = "Wybór elementów do rysowania";
  setCheckBox(CheckBox1, "Punkty");
  setCheckBox(CheckBox3, "Symbole");
  setCheckBox(CheckBox5, "Rzędne");
  setCheckBox(CheckBox6, "Nr punktów");
  setCheckBox(CheckBox2, "Przekroje poprzeczne");
  Label1.caption = "Wysokość opisów";
  Label2.caption = "Wysokość opisu pikietaży";
  Edit1.text = "0.50";
  Edit2.text = "1.00";
  Edit1.keyFilter = KeyFilter::Decimal;
  Edit2.keyFilter = KeyFilter::Decimal;
  Button1.caption = "Dalej";
  Button2.caption = "Rezygnuj";
}

void TFormDXF::Button1Click() {
  // The dialog stays open beside the main window; while a long command runs there, the export
  // waits (it would move the progress bar and the points under the running loop).
  if (program_.main.commandRunning()) {
    program_.platform.beep();
    return;
  }
  program_.platform.closeForm(*this);
  exportDxf3d(program_, *this);
}

void TFormDXF::Button2Click() { program_.platform.closeForm(*this); }

void generateDxf3dCommand(Program& program) {
  TFORM_Main& main = program.main;
  if (program.points.pointCount() == 0) {
    showMessage(program.platform, MessageIcon::Warning, MessageButtons::Ok,
                "Generowanie rysunku DXF", "Nie wczytano punktów !!!");
    return;
  }
  main.disableCommands();
  program.platform.showModeless(program.FormDXF);
  main.enableCommands();
}

void exportDxf3d(Program& program, TFormDXF& dialog) {
  Platform& platform = program.platform;
  TFORM_Main& main = program.main;
  if (program.points.pointCount() == 0) {
    // The points were replaced by an empty set while the dialog stood open.
    showMessage(platform, MessageIcon::Warning, MessageButtons::Ok, "Generowanie rysunku DXF",
                "Nie wczytano punktów !!!");
    return;
  }
  readSettings(program);
  const Settings& settings = program.settings;
  if (!settings.dxfOut.isIdentity()) {
    const auto answer = showMessage(
        platform, MessageIcon::Question, MessageButtons::YesNo, "Transformacja wsólrzędnych",
        "Wspólrzędne punktów poddane zostaną transformacji zgodnie z zapisem w pliku "
        "\"merilon.knf\". Czy mimo to zapisywac?");
    if (answer != DialogResult::Yes) return;
  }
  if (dialog.lastDxfName.empty()) dialog.lastDxfName = main.pointFileName;
  FileDialogRequest request;
  request.filter = "Pliki rysunkowe DXF|*.dxf";
  request.defaultExtension = "dxf";
  request.initialFolder = main.dataFolder;
  request.proposedName = stripExtension(dialog.lastDxfName) + ".dxf";
  const auto chosen = platform.chooseSaveFile(request);
  if (!chosen || chosen->empty()) return;
  const std::string name = stripExtension(chosen->string()) + ".dxf";
  dialog.lastDxfName = name;
  if (chosen->has_parent_path()) main.dataFolder = chosen->parent_path();
  if (!confirmOverwrite(platform, name, MessageIcon::Warning)) return;

  // Writing is a long command: nothing may change the points while the progress bar lets the
  // user's clicks through.
  CommandGuard guard(main);
  BusyCursor busy(platform);
  SafeFileWriter file(name);
  if (!file.open()) {
    main.reportFileError("Błąd zapisu pliku", name, file.error());
    return;
  }
  const double labelHeight = heightField(dialog.Edit1);
  const double chainageLabelHeight = heightField(dialog.Edit2);
  PointStore& points = program.points;
  const int n = points.pointCount();
  const bool drawPoints = dialog.CheckBox1.checked, drawSymbols = dialog.CheckBox3.checked;
  const bool drawHeights = dialog.CheckBox5.checked, drawNumbers = dialog.CheckBox6.checked;
  const int boxes = int(drawPoints) + int(drawSymbols) + int(drawHeights) + int(drawNumbers);
  main.progressStart(n * boxes);
  int counter = 0;
  auto advance = [&] { main.progressPosition(++counter); };

  points.computePointExtents();
  const PointExtents& e = points.extents;
  const auto& colours = settings.colours;
  {
    DxfWriter writer(file, settings);
    writer.writeHeader();
    writer.writeExtents(e.minX, e.minY, e.minZ, e.maxX, e.maxY, e.maxZ);
    writer.copySupportLines(loadSupportText(program.options.programFolder, "NMT_d1.bin"));
    writer.beginLayerTable(static_cast<int>(dxfLayers().size()));
    for (const DxfLayer& layer : dxfLayers()) writer.writeLayer(layer.name, layer.colour);
    writer.copySupportLines(loadSupportText(program.options.programFolder, "NMT_d2.bin"));
    writer.beginEntities();
    const double offset = kLabelOffsetFactor * labelHeight;
    if (drawPoints) {
      for (int i = 1; i <= n; ++i) {
        writer.writePoint("PUNKTY", colours[kPointColour], points.pointX[i], points.pointY[i],
                          points.pointZ[i]);
        advance();
      }
    }
    if (drawSymbols) {
      for (int i = 1; i <= n; ++i) {
        writer.writeText("SYMBOLE", points.pointName[i].raw(), colours[kLabelColour],
                         points.pointX[i], points.pointY[i] + offset, points.pointZ[i] + kLabelLift,
                         labelHeight, 0);
        advance();
      }
    }
    if (drawHeights) {
      std::string label;
      for (int i = 1; i <= n; ++i) {
        label.clear();
        appendFixed(label, points.pointZ[i], 2);
        writer.writeText("RZEDNE", label, colours[kHeightColour], points.pointX[i],
                         points.pointY[i], points.pointZ[i] + kLabelLift, labelHeight, 0);
        advance();
      }
    }
    if (drawNumbers) {
      for (int i = 1; i <= n; ++i) {
        writer.writeText("NR_PKTOW", formatInt(i), colours[kLabelColour], points.pointX[i],
                         points.pointY[i] - offset, points.pointZ[i] + kLabelLift, labelHeight, 0);
        advance();
      }
    }
    if (dialog.CheckBox2.checked) writeCrossSections(program, writer, chainageLabelHeight);
    writer.endSection();
    writer.writeEof();
  }
  if (!file.commit()) main.reportFileError("Błąd zapisu pliku", name, file.error());
  main.progressPosition(0);
}

}  // namespace merilon

// merilon-cli render: the drawing window's picture of a point file, with the alignment and the
// cross-sections, drawn by the same redraw on the Qt canvas of an offscreen image.
#include <charconv>
#include <cmath>
#include <numbers>

#include "cli/cli_args.h"
#include "cli/cli_commands.h"
#include "cli/cli_platform.h"
#include "cli/cli_program.h"
#include "cli/render_pdf.h"
#include "platform/number_text.h"
#include "platform/text_file.h"
#include "points/numeric_helpers.h"
#include "shell/program.h"

#ifdef MERILON_HAVE_QT_CANVAS
#include <QGuiApplication>

#include "qt_canvas.h"
#endif

namespace merilon::cli {
namespace {

// "points,numbers" as toolbar button numbers; false on an unknown name.
bool layerButtons(const std::string& list, std::vector<int>& buttons, std::string& bad) {
  static const std::pair<const char*, int> kNames[] = {
      {"points", 11},    {"numbers", 12},  {"heights", 13}, {"symbols", 14},
      {"alignment", 17}, {"sections", 18}, {"none", 0}};
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    const std::string name(trimBlanks(std::string_view(list).substr(start, end - start)));
    bool known = false;
    for (const auto& [n, b] : kNames) {
      if (name == n) {
        known = true;
        if (b != 0) buttons.push_back(b);
      }
    }
    if (!known) {
      bad = name;
      return false;
    }
    start = end + 1;
  }
  return true;
}

bool parseSize(const std::string& text, int& w, int& h) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const auto a = parseInt32(text.substr(0, x));
  const auto b = parseInt32(text.substr(x + 1));
  if (!a || !b || *a < 16 || *b < 16 || *a > 16384 || *b > 16384) return false;
  w = *a;
  h = *b;
  return true;
}

bool parseWindow(const std::string& text, double (&v)[4]) {
  std::size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    const std::size_t end = k < 3 ? text.find(',', start) : text.size();
    if (end == std::string::npos) return false;
    const auto value = parseDouble(std::string_view(text).substr(start, end - start));
    if (!value) return false;
    v[k] = *value;
    start = end + 1;
  }
  return v[2] > v[0] && v[3] > v[1];
}

}  // namespace

int runRender(const std::vector<std::string>& words, const CliEnvironment& env) {
  CliArgs args;
  std::string error;
  if (!parseCliArgs(words, {"force"},
                    {"size", "layers", "alignment", "sections", "angle", "window", "underlay",
                     "scale", "corner"},
                    args, error)) {
    return cliFail(kExitUsage, error);
  }
  if (args.positional.size() != 1 || !args.option("o")) {
    return cliFail(kExitUsage, "użycie: merilon-cli render POINTS.meri -o OUT.png|OUT.pdf");
  }
  int width = 1600, height = 1000;
  if (auto s = args.option("size"); s && !parseSize(*s, width, height)) {
    return cliFail(kExitInput, "niepoprawny rozmiar " + *s + " (SZEROKOŚĆxWYSOKOŚĆ, 16..16384)");
  }
  std::vector<int> layers;
  std::string bad;
  if (!layerButtons(args.option("layers").value_or("points"), layers, bad)) {
    return cliFail(kExitInput, "nieznana warstwa " + bad);
  }
  double angle = 0;
  if (auto a = args.option("angle")) {
    const auto value = parseDouble(*a);
    if (!value) return cliFail(kExitInput, "niepoprawny kąt " + *a);
    angle = *value / 180 * std::numbers::pi;
  }
  double window[4] = {0, 0, 0, 0};
  const bool windowGiven = args.option("window").has_value();
  if (windowGiven && !parseWindow(*args.option("window"), window)) {
    return cliFail(kExitInput,
                   "niepoprawne okno " + *args.option("window") + " (XMIN,YMIN,XMAX,YMAX)");
  }
  const std::string pointsFile = args.positional[0];
  for (const char* name : {"alignment", "sections", "underlay"}) {
    if (auto f = args.option(name)) {
      if (const int status = checkInputFile(*f); status != kExitOk) return status;
    }
  }
  if (const int status = checkInputFile(pointsFile); status != kExitOk) return status;
  const std::string out = *args.option("o");
  PdfRender pdf;
  if (const int status = readPdfRender(args, out, pdf); status != kExitOk) return status;
  if (const int status = checkOutputFile(out, args.has("force")); status != kExitOk) return status;
#ifndef MERILON_HAVE_QT_CANVAS
  (void)env;
  return cliFail(kExitUsage, "ta wersja merilon-cli nie rysuje (zbudowana bez Qt)");
#else
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "merilon-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication app(argc, argv);

  CliPlatform platform;
  bool failed = false;
  platform.answer = [&](const MessageRequest& r) {
    if (r.icon == MessageIcon::Error || r.icon == MessageIcon::Warning) failed = true;
    return r.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::No;
  };
  auto program = startCliProgram(platform, env);
  if (!program) return cliFail(kExitInput, "brak pamięci");
  platform.openAnswers.push_back(pointsFile);
  program->main.Button3Click();
  if (failed || program->points.pointCount() == 0) {
    return cliFail(kExitInput, "brak punktów w pliku " + pointsFile);
  }
  TFormPoprzeczka& sections = program->FormPoprzeczka;
  if (auto a = args.option("alignment")) {
    platform.openAnswers.push_back(*a);
    sections.Button5Click();
    if (!sections.alignmentLoaded) return cliFail(kExitInput, "nie wczytano trasy " + *a);
  }
  if (auto s = args.option("sections")) {
    std::vector<std::string> lines;
    if (!readCp1250Lines(*s, lines, error)) {
      return cliFail(kExitInput, "nie można odczytać pliku " + *s + ": " + error);
    }
    sections.workText = std::move(lines);
    sections.sectionTextLoaded = true;
    sections.lastTerFileName = *s;
  }

  if (auto d = args.option("underlay")) {
    platform.openAnswers.push_back(*d);
    program->main.MenuClick(MenuCommand::LoadUnderlay);
    if (failed) return cliFail(kExitInput, "nie wczytano podkładu " + *d);
  }

  qt::QtCanvas canvas(width, height, 1);
  TGRAFIKA& drawing = program->GRAFIKA;
  drawing.setSurface(&canvas);
  readSettings(*program);
  drawing.FormActivate();
  for (int b : layers) drawing.layerClick(b);
  drawing.view.setAngle(angle);
  drawing.CaloscClick();
  if (windowGiven) {
    const ViewPoint a = drawing.view.worldToScreen(window[0], window[1]);
    const ViewPoint b = drawing.view.worldToScreen(window[2], window[3]);
    const auto px = [](double u) { return static_cast<int>(std::lround(u)); };
    const int x0 = px(a.u), y0 = px(drawing.view.viewHeight - a.v);
    int x1 = 0, y1 = 0;
    aspectCorner(x0, y0, px(b.u), px(drawing.view.viewHeight - b.v), drawing.view.aspect, x1, y1);
    if (!drawing.view.zoomToWindow(x0, y0, x1, y1)) {
      return cliFail(kExitInput, "okno " + *args.option("window") +
                                     " ma na całym rysunku nie więcej niż 10 pikseli szerokości");
    }
    drawing.redraw();
  }
  if (pdf.pdf) return printPdf(drawing, platform, out, pdf);
  if (!canvas.snapshot().save(QString::fromStdString(out), "PNG")) {
    return cliFail(kExitInput, "nie można zapisać pliku " + out);
  }
  return kExitOk;
#endif
}

}  // namespace merilon::cli

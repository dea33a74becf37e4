// The drawing window's redraw on the Qt canvas of an offscreen 1920 x 1080 surface: a million
// markers (at 100 % and on a 200 % screen), all point layers zoomed in on a million points,
// numbers of 100,000 points, and the 60-element axis with chainage marks and 2,000
// cross-sections.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>
#include <random>

#include "bench_support.h"
#include "platform/number_text.h"
#include "qt_canvas.h"
#include "shell/program.h"

namespace {

using namespace merilon;

struct Scene {
  bench::QuietPlatform platform;
  std::unique_ptr<Program> program;
  qt::QtCanvas canvas;

  explicit Scene(int points, std::initializer_list<int> layers, qreal devicePixelRatio = 1)
      : canvas(1920, 1080, devicePixelRatio) {
    ProgramOptions options;
    options.programFolder = std::filesystem::temp_directory_path() / "merilon-bench-drawing";
    options.userSettingsFolder = options.programFolder / "user";
    std::filesystem::create_directories(options.programFolder);
    program = std::make_unique<Program>(platform, options);
    program->start();
    PointStore& store = program->points;
    std::mt19937 random(1);
    std::uniform_real_distribution<double> x(500000, 510000), y(5600000, 5606000), z(90, 130);
    for (int i = 1; i <= points; ++i) {
      store.reservePoint();
      store.setPoint(i, x(random), y(random), z(random), PointName::fromText("P" + formatInt(i)),
                     i % 7 == 0 ? 9 : 1);
    }
    TGRAFIKA& w = program->GRAFIKA;
    w.setSurface(&canvas);
    w.FormActivate();
    for (int n : layers) w.layerClick(n);
    w.CaloscClick();
  }
  TGRAFIKA& window() { return program->GRAFIKA; }
};

void BM_RedrawMillionMarkers(benchmark::State& state) {
  static Scene scene(1000000, {11});
  for (auto _ : state) scene.window().redraw();
}
BENCHMARK(BM_RedrawMillionMarkers)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_RedrawMillionMarkersAtTwiceThePixels(benchmark::State& state) {
  static Scene scene(1000000, {11}, 2);
  for (auto _ : state) scene.window().redraw();
}
BENCHMARK(BM_RedrawMillionMarkersAtTwiceThePixels)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_RedrawAllPointLayersZoomedToTwoThousandOfAMillion(benchmark::State& state) {
  // The layers go on after the zoom: labels of all million points would take the set-up long.
  static Scene scene(1000000, {});
  static bool zoomed = false;
  if (!zoomed) {
    // The fitted view shows the whole 10 x 6 km; a 22.4-fold zoom leaves 1/500 of it.
    scene.window().view.zoomAboutCentre(1 / 22.36);
    for (int n : {11, 12, 13, 14}) scene.window().layerClick(n);
    zoomed = true;
  }
  for (auto _ : state) scene.window().redraw();
}
BENCHMARK(BM_RedrawAllPointLayersZoomedToTwoThousandOfAMillion)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

void BM_RedrawNumbersOfHundredThousand(benchmark::State& state) {
  static Scene scene(100000, {12});
  for (auto _ : state) scene.window().redraw();
}
BENCHMARK(BM_RedrawNumbersOfHundredThousand)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_RedrawAlignmentWithTwoThousandSections(benchmark::State& state) {
  static Scene scene(10, {17, 18});
  static bool built = false;
  if (!built) {
    Program& p = *scene.program;
    bench::buildTestAxis(scene.platform, p.alignment);
    // 2,000 sections every 5 m, seven points each from -15 to 15 m.
    std::vector<std::string>& ter = p.FormPoprzeczka.workText;
    ter = {"\"&IBMVORDPOW\",\"\"", "Teren,0,0.00,9995.00,1999"};
    for (int s = 0; s < 2000; ++s) {
      ter.push_back(formatFixed(s * 5.0, 2) + ",21");
      for (int j = 0; j < 7; ++j) {
        ter.push_back(formatFixed(-15 + 5.0 * j, 2));
        ter.push_back("100.00");
        ter.push_back(j % 3 == 0 ? "0.00" : j % 3 == 1 ? "-0.30" : "0.20");
        ter.push_back("\"\"");
      }
    }
    p.FormPoprzeczka.sectionTextLoaded = true;
    p.FormPoprzeczka.lastTerFileName = "bench.TER";
    scene.window().CaloscClick();
    built = true;
  }
  for (auto _ : state) scene.window().redraw();
}
BENCHMARK(BM_RedrawAlignmentWithTwoThousandSections)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

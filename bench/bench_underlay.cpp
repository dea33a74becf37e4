// The DXF underlay: "Podczytaj dxf" of a 100 MB drawing of a million LINE entities, and the
// redraw of those lines on the Qt canvas of a 1920 x 1080 surface, at the whole extent and
// zoomed in so that a hundredth of the drawing is in view.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <random>

#include "bench_support.h"
#include "platform/number_text.h"
#include "qt_canvas.h"
#include "shell/program.h"

namespace {

using namespace merilon;
using merilon::bench::benchFolder;
using merilon::bench::BenchProgram;

constexpr int kLines = 1000000;

// A map of a million short lines over 10 x 6 km, as a release-12 drawing with layer and height:
// about 105 bytes a line.
std::filesystem::path lineDrawing() {
  const auto file = benchFolder() / "underlay_lines.dxf";
  if (std::filesystem::exists(file)) return file;
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> east(500000, 510000), north(5600000, 5606000);
  std::uniform_real_distribution<double> step(-15, 15), height(100, 200);
  std::string text = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
  for (int k = 0; k < kLines; ++k) {
    const double x = east(rng), y = north(rng), z = height(rng);
    text += "  0\r\nLINE\r\n  8\r\nMAPA\r\n 10\r\n";
    appendFixed(text, x, 3);
    text += "\r\n 20\r\n";
    appendFixed(text, y, 3);
    text += "\r\n 30\r\n";
    appendFixed(text, z, 2);
    text += "\r\n 11\r\n";
    appendFixed(text, x + step(rng), 3);
    text += "\r\n 21\r\n";
    appendFixed(text, y + step(rng), 3);
    text += "\r\n";
  }
  text += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  std::FILE* f = std::fopen(file.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return file;
}

void BM_LoadUnderlayMillionLines(benchmark::State& state) {
  const auto file = lineDrawing();
  BenchProgram b;
  for (auto _ : state) {
    b.platform.file = file;
    b.program->main.MenuClick(MenuCommand::LoadUnderlay);
    benchmark::DoNotOptimize(b.program->underlay.elementCount);
  }
  state.counters["elements"] = b.program->underlay.elementCount;
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}
BENCHMARK(BM_LoadUnderlayMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// A program with two points at the corners of the map, so that "Całość" shows all of it, and
// the map loaded as the underlay; no layer switched on.
struct UnderlayScene {
  BenchProgram b;
  qt::QtCanvas canvas{1920, 1080, 1};
  UnderlayScene() {
    PointStore& p = b.program->points;
    p.reservePoint();
    p.setPoint(1, 500000, 5600000, 0, PointName::fromText("A"), 1);
    p.reservePoint();
    p.setPoint(2, 510000, 5606000, 0, PointName::fromText("B"), 1);
    b.platform.file = lineDrawing();
    b.program->main.MenuClick(MenuCommand::LoadUnderlay);
    TGRAFIKA& w = b.program->GRAFIKA;
    w.setSurface(&canvas);
    w.FormActivate();
    w.CaloscClick();
  }
  TGRAFIKA& window() { return b.program->GRAFIKA; }
};

UnderlayScene& scene() {
  static UnderlayScene s;
  return s;
}

void BM_RedrawUnderlayWholeExtent(benchmark::State& state) {
  UnderlayScene& s = scene();
  s.window().CaloscClick();
  for (auto _ : state) s.window().redraw();
  state.counters["elements"] = s.b.program->underlay.elementCount;
}
BENCHMARK(BM_RedrawUnderlayWholeExtent)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_RedrawUnderlayOnePercentInView(benchmark::State& state) {
  UnderlayScene& s = scene();
  s.window().CaloscClick();
  // A tenfold zoom about the centre leaves a hundredth of the area in view.
  s.window().view.zoomAboutCentre(0.1);
  for (auto _ : state) s.window().redraw();
}
BENCHMARK(BM_RedrawUnderlayOnePercentInView)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

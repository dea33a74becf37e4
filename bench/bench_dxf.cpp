// Speed of the DXF exchange: a drawing of a million TEXT spot heights turned into the preview's
// records, and a million points exported with every point box ticked.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "bench_support.h"
#include "dxf/dxf_export.h"
#include "platform/number_text.h"
#include "shell/program.h"

namespace {

using namespace merilon;
using merilon::bench::benchFolder;
using merilon::bench::BenchProgram;
using merilon::bench::QuietPlatform;

constexpr int kCount = 1000000;

// A release-12 drawing of a million spot heights as TEXT entities, as surveying offices get
// them: layer, insertion point with height, text height and the height as the text.
std::filesystem::path spotHeightDrawing() {
  const auto file = benchFolder() / "spot_heights.dxf";
  if (std::filesystem::exists(file)) return file;
  std::mt19937_64 rng(2026);
  std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000);
  std::uniform_real_distribution<double> height(100, 200);
  std::string text = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
  for (int k = 0; k < kCount; ++k) {
    const double z = height(rng);
    text += "  0\r\nTEXT\r\n  8\r\nRZEDNE\r\n 10\r\n";
    appendFixed(text, east(rng), 2);
    text += "\r\n 20\r\n";
    appendFixed(text, north(rng), 2);
    text += "\r\n 30\r\n";
    appendFixed(text, z, 3);
    text += "\r\n 40\r\n0.5\r\n  1\r\n";
    appendFixed(text, z, 2);
    text += "\r\n";
  }
  text += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  std::FILE* f = std::fopen(file.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return file;
}

void BM_DxfToTextRecords(benchmark::State& state) {
  const auto file = spotHeightDrawing();
  BenchProgram b;
  b.platform.file = file;
  for (auto _ : state) {
    b.program->main.Button14Click();
    benchmark::DoNotOptimize(b.program->main.PreviewMemo.lineCount());
  }
  state.counters["records"] = static_cast<double>(b.program->main.PreviewMemo.lineCount());
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}
BENCHMARK(BM_DxfToTextRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportDxf3dAllPointBoxes(benchmark::State& state) {
  BenchProgram b;
  PointStore& points = b.program->points;
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> east(5600000, 5610000), north(7450000, 7460000);
  std::uniform_real_distribution<double> height(100, 200);
  for (int k = 1; k <= kCount; ++k) {
    points.reservePoint();
    points.setPoint(k, east(rng), north(rng), height(rng),
                    PointName::fromText("PKT" + formatInt(k)), 0);
  }
  TFormDXF& dialog = b.program->FormDXF;
  for (CheckBox* c : {&dialog.CheckBox1, &dialog.CheckBox3, &dialog.CheckBox5, &dialog.CheckBox6}) {
    c->checked = true;
  }
  const auto file = benchFolder() / "export.dxf";
  b.platform.file = file;
  for (auto _ : state) dialog.Button1Click();
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}
BENCHMARK(BM_ExportDxf3dAllPointBoxes)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

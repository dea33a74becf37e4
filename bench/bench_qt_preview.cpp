// The desktop preview pane with a survey of a million five-field lines (39 MB): the time from the
// file's lines being in the preview to their being on screen, the whole "Otwórz plik tekstowy",
// and the resident memory of the program with the file open. The real main window runs on Qt's
// offscreen platform. A bare QPlainTextEdit given the same text runs last, for comparison (its
// memory would otherwise count in the figures of the others).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "application_setup.h"
#include "main_window_view.h"
#include "memo_view.h"
#include "platform/number_text.h"
#include "qt_platform.h"
#include "shell/program.h"

namespace {

constexpr int kLines = 1000000;

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-preview";
  std::filesystem::create_directories(dir);
  return dir;
}

// Number, X, Y, Z and a symbol: about 39 bytes a line.
std::filesystem::path surveyFile() {
  const auto file = folder() / "milion.txt";
  if (std::filesystem::exists(file)) return file;
  std::ofstream out(file, std::ios::binary);
  std::string line;
  for (int k = 1; k <= kLines; ++k) {
    line = merilon::formatInt(k) + ",74" + merilon::formatInt(10000 + k % 90000) + "." +
           merilon::formatInt(10 + k % 90) + ",56" + merilon::formatInt(10000 + k * 7 % 90000) +
           "." + merilon::formatInt(10 + k % 89) + ",1" + merilon::formatInt(100 + k % 900) +
           ".5,P" + merilon::formatInt(k % 1000) + "\r\n";
    out << line;
  }
  return file;
}

// A line of /proc/self/status in megabytes (VmRSS: resident now, VmHWM: the peak).
double statusMegabytes(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
  }
  return 0;
}

struct Desktop {
  merilon::qt::QtPlatform platform;
  std::unique_ptr<merilon::Program> program;
  std::unique_ptr<merilon::qt::MainWindowView> view;

  Desktop() {
    merilon::ProgramOptions options;
    options.programFolder = folder();
    options.userSettingsFolder = folder() / "user";
    program = std::make_unique<merilon::Program>(platform, options);
    program->start();
    platform.messageHook = [](const merilon::MessageRequest&) { return merilon::DialogResult::Ok; };
    platform.fileDialogHook = [](const merilon::FileDialogRequest&, bool) {
      return std::optional<std::filesystem::path>(surveyFile());
    };
    view = std::make_unique<merilon::qt::MainWindowView>(*program, platform);
    view->show();
    QApplication::processEvents();
  }
  // What follows every handler of the window, and the paint that puts the lines on screen.
  void showOnScreen() {
    platform.syncAllViews();
    view->previewPane()->view()->viewport()->repaint();
  }
  void forgetFile() {
    program->main.PreviewMemo.clear();
    showOnScreen();
  }
};

void PreviewLinesOnScreenAfterTheFileIsRead(benchmark::State& state) {
  Desktop desktop;
  surveyFile();
  for (auto _ : state) {
    state.PauseTiming();
    desktop.forgetFile();
    desktop.program->main.Button1Click();  // reads the file into the preview, shows nothing yet
    state.ResumeTiming();
    desktop.showOnScreen();
  }
  state.counters["lines"] = static_cast<double>(desktop.program->main.PreviewMemo.lineCount());
  state.counters["rss_MB"] = statusMegabytes("VmRSS");
  state.counters["peak_rss_MB"] = statusMegabytes("VmHWM");
}
BENCHMARK(PreviewLinesOnScreenAfterTheFileIsRead)->Unit(benchmark::kMillisecond)->Iterations(5);

void OpenTextFileCommandWithTheLinesOnScreen(benchmark::State& state) {
  Desktop desktop;
  surveyFile();
  for (auto _ : state) {
    state.PauseTiming();
    desktop.forgetFile();
    state.ResumeTiming();
    desktop.view->button("Otwórz plik tekstowy")->click();
    desktop.view->previewPane()->view()->viewport()->repaint();
  }
  state.counters["rss_MB"] = statusMegabytes("VmRSS");
  state.counters["peak_rss_MB"] = statusMegabytes("VmHWM");
}
BENCHMARK(OpenTextFileCommandWithTheLinesOnScreen)->Unit(benchmark::kMillisecond)->Iterations(3);

// For comparison: the same lines copied into a bare plain-text editor and painted.
void BarePlainTextEditForComparison(benchmark::State& state) {
  Desktop desktop;
  desktop.program->main.Button1Click();
  const merilon::Memo& memo = desktop.program->main.PreviewMemo;
  const double before = statusMegabytes("VmRSS");
  QPlainTextEdit editor;
  editor.resize(530, 200);
  editor.show();
  for (auto _ : state) {
    QString all;
    for (std::size_t k = 0; k < memo.lineCount(); ++k) {
      if (k > 0) all += '\n';
      const std::string_view line = memo.line(k);
      all += QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    }
    editor.setPlainText(all);
    editor.viewport()->repaint();
  }
  state.counters["added_rss_MB"] = statusMegabytes("VmRSS") - before;
}
BENCHMARK(BarePlainTextEditForComparison)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  merilon::qt::setUpApplication(app);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

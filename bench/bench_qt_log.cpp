// The desktop log pane while a long command writes to it: 10,000 log lines appended one at a
// time, the window synced and its events processed after each, as during the cross-section run.
// The real main window runs on Qt's offscreen platform; the figure is the time of all 10,000.
// For comparison, the same with the pane the log had before: a read-only plain-text editor of the
// same size, given each line through the editor binding.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <filesystem>
#include <memory>
#include <string>

#include "application_setup.h"
#include "control_binding.h"
#include "main_window_view.h"
#include "platform/number_text.h"
#include "qt_platform.h"
#include "shell/program.h"

namespace {

constexpr int kLogLines = 10000;

std::filesystem::path folder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench-log";
  std::filesystem::create_directories(dir);
  return dir;
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
    platform.messageHook = [](const merilon::MessageRequest&) {
      return merilon::DialogResult::Ok;
    };
    view = std::make_unique<merilon::qt::MainWindowView>(*program, platform);
    view->show();
    QApplication::processEvents();
  }
};

// Appends the lines one at a time, running `sync` and the event loop after each.
template <typename Sync>
void appendLogLines(benchmark::State& state, merilon::TFORM_Main& main, Sync sync) {
  for (auto _ : state) {
    state.PauseTiming();
    main.LogMemo.clear();
    sync();
    QApplication::processEvents();
    state.ResumeTiming();
    for (int k = 1; k <= kLogLines; ++k) {
      main.logMessage("Przekrój nr " + merilon::formatInt(k) + " km " +
                      merilon::formatFixed(k * 25.0, 2) + ": brak punktów w pasie osi");
      sync();
      QApplication::processEvents();
    }
  }
  state.counters["log_lines"] = static_cast<double>(main.LogMemo.lineCount());
}

void LogPaneTakesTenThousandLinesOneByOne(benchmark::State& state) {
  Desktop desktop;
  appendLogLines(state, desktop.program->main, [&] { desktop.view->syncFromModel(); });
}
BENCHMARK(LogPaneTakesTenThousandLinesOneByOne)->Unit(benchmark::kMillisecond)->Iterations(2);

void FormerEditorPaneForComparison(benchmark::State& state) {
  Desktop desktop;
  merilon::qt::MemoView* pane = desktop.view->logPane();
  QPlainTextEdit editor(pane->parentWidget());
  editor.setReadOnly(true);
  editor.setLineWrapMode(QPlainTextEdit::NoWrap);
  editor.setGeometry(pane->geometry());
  pane->hide();
  editor.show();
  merilon::qt::MemoBinding binding(&editor, desktop.program->main.LogMemo);
  appendLogLines(state, desktop.program->main, [&] { binding.syncFromModel(); });
}
BENCHMARK(FormerEditorPaneForComparison)->Unit(benchmark::kMillisecond)->Iterations(2);

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

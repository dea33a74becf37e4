// What the benchmark programs share: a platform nobody answers, and the 10 km test axis.
#pragma once

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "alignment/alignment.h"
#include "alignment/alignment_geometry.h"
#include "platform/platform.h"
#include "shell/program.h"

namespace merilon::bench {

// Notices are acknowledged, the overwrite question answered Yes, every other question No; file
// dialogs return `file` (cancelled while it is empty).
class QuietPlatform : public Platform {
 public:
  std::filesystem::path file;
  DialogResult showMessage(const MessageRequest& r) override {
    if (r.buttons == MessageButtons::Ok) return DialogResult::Ok;
    return r.title == "Zapis do pliku" ? DialogResult::Yes : DialogResult::No;
  }
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest&) override {
    return chosen();
  }
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest&) override {
    return chosen();
  }
  void setBusyCursor(bool) override {}
  void processPendingEvents() override {}
  void beep() override {}
  std::optional<std::string> clipboardText() override { return std::nullopt; }
  void setClipboardText(const std::string&) override {}
  void setApplicationTitle(const std::string&) override {}
  void minimizeApplication() override {}
  void showModal(Form&) override {}
  void showModeless(Form&) override {}
  void closeForm(Form&) override {}

 private:
  std::optional<std::filesystem::path> chosen() const {
    if (file.empty()) return std::nullopt;
    return file;
  }
};

// The folder of the benchmarks' files, kept between runs.
inline std::filesystem::path benchFolder() {
  auto dir = std::filesystem::temp_directory_path() / "merilon-bench";
  std::filesystem::create_directories(dir);
  return dir;
}

// A started program on the quiet platform, its program folder the benchmarks' folder.
struct BenchProgram {
  QuietPlatform platform;
  std::unique_ptr<Program> program;
  BenchProgram() {
    ProgramOptions options;
    options.programFolder = benchFolder();
    options.userSettingsFolder = benchFolder() / "user";
    program = std::make_unique<Program>(platform, options);
    program->start();
  }
};

// 15 turns, each a straight, an entry clothoid, an arc and an exit clothoid of 166.67 m, turning
// right and left in turn: 60 elements, 10 km.
inline void buildTestAxis(Platform& platform, Alignment& alignment) {
  const double length = 10000.0 / 60, radius = 600, A = std::sqrt(length * radius);
  std::vector<AlignmentRecord> records;
  AlignmentRecord r{0, 500000, 5600000, 0.3, 0, 0};
  for (int e = 0; e <= 60; ++e) {
    const double turn = (e / 4) % 2 == 0 ? 1 : -1;
    const int kind = e == 60 ? 0 : e % 4;
    r.radius = kind == 0 ? 0 : kind == 1 ? (turn > 0 ? 0 : -0.0001) : turn * radius;
    r.clothoidParameter = kind == 1 ? A : kind == 3 ? -A : 0;
    records.push_back(r);
    // The next main point is where this element ends.
    auto next = records;
    next.push_back({r.chainage + length, 0, 0, 0, 0, 0});
    alignment.setRecords(platform, next);
    double x, y, a;
    pointAtChainage(alignment, r.chainage + length, x, y, a);
    r = {r.chainage + length, x, y, a, 0, 0};
  }
  alignment.setRecords(platform, records);
}

}  // namespace merilon::bench

// A fresh program on the scripted platform, with its own temporary program folder.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/program.h"
#include "support/scripted_platform.h"

namespace merilon::testing {

// A temporary folder removed with the object.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

struct TestProgram {
  // With `startNow` false, the test puts files into the program folder and calls start().
  explicit TestProgram(bool startNow = true);
  void start();
  TempFolder folder;
  ScriptedPlatform platform;
  std::unique_ptr<Program> program;
  TFORM_Main& main() { return program->main; }
  PointStore& points() { return program->points; }
};

// Raw bytes of a file.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);
// Lines joined with CR LF after each.
std::string crlf(const std::vector<std::string>& lines);
// Compares a written file byte for byte with tests/data/golden/NAME; with the environment
// variable MERILON_UPDATE_GOLDEN set, writes the golden file instead.
void expectGolden(const std::filesystem::path& written, const std::string& goldenName);

}  // namespace merilon::testing

// What the fuzz targets share: a platform that answers every question alike and hands out the
// prepared file names, and one program per process in a folder of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "shell/program.h"

namespace merilon::fuzzing {

class QuietPlatform : public Platform {
 public:
  // The button every question is answered with.
  DialogResult answer = DialogResult::No;
  // What the next open or save dialog returns (kept for every dialog until changed).
  std::optional<std::filesystem::path> openFile, saveFile;
  int messages = 0;

  DialogResult showMessage(const MessageRequest& request) override {
    ++messages;
    return request.buttons == MessageButtons::Ok ? DialogResult::Ok : answer;
  }
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest&) override {
    return openFile;
  }
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest&) override {
    return saveFile;
  }
  void setBusyCursor(bool) override {}
  void processPendingEvents() override {}
  void beep() override {}
  std::optional<std::string> clipboardText() override { return std::nullopt; }
  void setClipboardText(const std::string&) override {}
  void setApplicationTitle(const std::string&) override {}
  void minimizeApplication() override {}
  void showModal(Form& form) override { form.visible = false; }
  void showModeless(Form& form) override { form.visible = true; }
  void closeForm(Form& form) override { form.visible = false; }
};

// A folder under the temporary directory, named for the process, removed with the object.
class FuzzFolder {
 public:
  FuzzFolder();
  ~FuzzFolder();
  FuzzFolder(const FuzzFolder&) = delete;
  FuzzFolder& operator=(const FuzzFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // Writes `bytes` to the file `name` in the folder and returns its path.
  std::filesystem::path put(const std::string& name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

// A started program whose program folder is a FuzzFolder.
struct FuzzProgram {
  FuzzProgram();
  FuzzFolder folder;
  QuietPlatform platform;
  std::unique_ptr<Program> program;
  TFORM_Main& main() { return program->main; }
};

// The one program of the process, started at the first call.
FuzzProgram& sharedProgram();

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the process with a message when a property does not hold, so libFuzzer keeps the input.
[[noreturn]] void propertyFailed(const std::string& what);

}  // namespace merilon::fuzzing

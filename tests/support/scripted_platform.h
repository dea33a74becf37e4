// The platform of the tests: message boxes answered from a queue and recorded, file dialogs
// answered with prepared names, a hook at every processing of pending events (to press
// "Przerwij" at a chosen step), and modal forms handed to the test.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/scripted_printer.h"

namespace merilon::testing {

class ScriptedPlatform : public Platform {
 public:
  // Answers to questions, in order; a question with none left fails the test.
  std::deque<DialogResult> answers;
  std::vector<MessageRequest> messages;

  // Answers of the open and save dialogs; nullopt cancels. An empty queue cancels too.
  std::deque<std::optional<std::filesystem::path>> openAnswers;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;

  std::function<void(int step)> onPendingEvents;
  int pendingEventsCount = 0;

  std::function<void(Form&)> onModal;
  std::vector<Form*> modalForms;

  bool busy = false;
  int beeps = 0;
  bool minimized = false;
  std::optional<std::string> clipboard;
  std::vector<std::string> titles;
  ScriptedPrinter printerDevice;

  DialogResult showMessage(const MessageRequest& request) override;
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) override;
  void setBusyCursor(bool b) override { busy = b; }
  void processPendingEvents() override;
  void beep() override { ++beeps; }
  std::optional<std::string> clipboardText() override { return clipboard; }
  void setClipboardText(const std::string& text) override { clipboard = text; }
  void setApplicationTitle(const std::string& title) override { titles.push_back(title); }
  void minimizeApplication() override { minimized = true; }
  void showModal(Form& form) override;
  void showModeless(Form& form) override { form.visible = true; }
  void closeForm(Form& form) override { form.visible = false; }
  Printer* printer() override { return &printerDevice; }
  // Programs started: "EXECUTABLE PARAMETERS IN FOLDER".
  std::vector<std::string> startedPrograms;
  bool startProgram(const std::filesystem::path& executable, const std::string& parameters,
                    const std::filesystem::path& workingFolder) override {
    startedPrograms.push_back(executable.string() + " " + parameters + " in " +
                              workingFolder.string());
    return true;
  }

  // Texts of the messages shown so far ("TITLE: TEXT").
  std::vector<std::string> shownTexts() const;
};

}  // namespace merilon::testing

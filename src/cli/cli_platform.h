// The platform of merilon-cli: nobody is there to answer, so message boxes go to standard error
// as "TITLE: TEXT", questions are answered by the command's policy, file dialogs return the
// names the command prepared, and the log goes to standard output.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace merilon::cli {

class CliPlatform : public Platform {
 public:
  // Answers a question; by default every question is answered No and every notice Ok.
  std::function<DialogResult(const MessageRequest&)> answer;
  // Names handed to the next open and save dialogs, in order; an empty queue cancels.
  std::deque<std::filesystem::path> openAnswers;
  std::deque<std::filesystem::path> saveAnswers;
  // Handles a modal form the command wants to drive (fill fields, press buttons).
  std::function<void(Form&)> modalHandler;
  std::optional<std::string> clipboard;
  // The printer the drawing window prints on (render to a PDF file); none by default.
  Printer* printerDevice = nullptr;

  DialogResult showMessage(const MessageRequest& request) override;
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) override;
  void setBusyCursor(bool) override {}
  void processPendingEvents() override {}
  void beep() override {}
  std::optional<std::string> clipboardText() override { return clipboard; }
  void setClipboardText(const std::string& text) override { clipboard = text; }
  void setApplicationTitle(const std::string&) override {}
  void minimizeApplication() override {}
  void showModal(Form& form) override;
  void showModeless(Form& form) override;
  void closeForm(Form& form) override;
  Printer* printer() override { return printerDevice; }
};

}  // namespace merilon::cli

// The narrow interface through which the system reaches the desktop: message boxes, file
// dialogs, cursor, pending events, beep, clipboard, application title and modal forms. The Qt
// front end, the batch front end and the tests each implement it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace merilon {

enum class MessageIcon { None, Error, Question, Warning, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class DialogResult { Ok, Yes, No, Cancel };

struct MessageRequest {
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  std::string title;
  std::string text;
  DialogResult defaultButton = DialogResult::Ok;  // for questions: which button Enter presses
};

struct FileDialogRequest {
  std::string title;
  std::string filter;            // "Pliki tekstowe|*.txt|Wszystkie pliki|*.*"
  std::string defaultExtension;  // without the dot; empty: none
  std::filesystem::path initialFolder;
  std::string proposedName;  // file name (possibly with folder) shown in the dialog
};

class Form;
class Printer;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual DialogResult showMessage(const MessageRequest& request) = 0;
  virtual std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) = 0;

  virtual void setBusyCursor(bool busy) = 0;
  // Keeps the windows painted and lets the user press "Przerwij" while a command loops.
  virtual void processPendingEvents() = 0;
  virtual void beep() = 0;

  virtual std::optional<std::string> clipboardText() = 0;
  virtual void setClipboardText(const std::string& text) = 0;

  virtual void setApplicationTitle(const std::string& title) = 0;
  virtual void minimizeApplication() = 0;

  // Shows a form modally; returns when it is closed.
  virtual void showModal(Form& form) = 0;
  // Shows a form without blocking.
  virtual void showModeless(Form& form) = 0;
  // Closes a form shown by either call.
  virtual void closeForm(Form& form) = 0;

  // Starts another program with one parameter string in a working folder; false when it could
  // not be started. Nothing is read back.
  virtual bool startProgram(const std::filesystem::path& /*executable*/,
                            const std::string& /*parameters*/,
                            const std::filesystem::path& /*workingFolder*/) {
    return false;
  }
  // Shows the application's windows again after minimizeApplication.
  virtual void restoreApplication() {}
  // Keeps a status text on the screen for a while: the windows stay painted, the user's input
  // waits.
  virtual void pause(int /*milliseconds*/) {}

  // The printer of the drawing window's prints; nullptr where the front end cannot print.
  virtual Printer* printer() { return nullptr; }
};

// A window or dialog of the system: a plain object with controls and handlers.
class Form {
 public:
  virtual ~Form() = default;
  std::string Caption;
  bool visible = false;
};

}  // namespace merilon

// The Qt implementation of the platform: real message boxes and file dialogs, the override
// cursor, the clipboard, and the registry of views that mirror the forms.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "form_view.h"
#include "platform/platform.h"
#include "qt_printer.h"

namespace merilon::qt {

class QtPlatform : public Platform {
 public:
  QtPlatform();

  DialogResult showMessage(const MessageRequest& request) override;
  std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) override;
  void setBusyCursor(bool busy) override;
  void processPendingEvents() override;
  void beep() override;
  std::optional<std::string> clipboardText() override;
  void setClipboardText(const std::string& text) override;
  void setApplicationTitle(const std::string& title) override;
  void minimizeApplication() override;
  void showModal(Form& form) override;
  void showModeless(Form& form) override;
  void closeForm(Form& form) override;
  bool startProgram(const std::filesystem::path& executable, const std::string& parameters,
                    const std::filesystem::path& workingFolder) override;
  void restoreApplication() override;
  void pause(int milliseconds) override;
  Printer* printer() override { return &qtPrinter(); }
  // Made at the first print: finding the system's printers takes a moment.
  QtPrinter& qtPrinter();

  // Views announce themselves so that forms can be shown and mirrored.
  void registerView(Form& form, FormView& view);
  void unregisterView(Form& form);
  // Mirrors every form into its widgets.
  void syncAllViews();
  // The main window, which carries the application title.
  void setMainWidget(QWidget* widget) { mainWidget_ = widget; }

  // Tests answer dialogs here instead of real modal boxes.
  std::function<DialogResult(const MessageRequest&)> messageHook;
  std::function<std::optional<std::filesystem::path>(const FileDialogRequest&, bool save)>
      fileDialogHook;

 private:
  std::map<Form*, FormView*> views_;
  QPointer<QWidget> mainWidget_;
  QElapsedTimer sinceEvents_;
  bool busy_ = false;
  std::unique_ptr<QtPrinter> printer_;
};

// "Pliki tekstowe|*.txt|Wszystkie pliki|*.*" as a Qt filter list.
QString qtFilter(const std::string& filter);

}  // namespace merilon::qt

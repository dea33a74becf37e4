#include "qt_platform.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStringList>

#include "qt_text.h"

namespace merilon::qt {

QtPlatform::QtPlatform() { sinceEvents_.start(); }

QtPrinter& QtPlatform::qtPrinter() {
  if (!printer_) printer_ = std::make_unique<QtPrinter>();
  return *printer_;
}

QString qtFilter(const std::string& filter) {
  const QStringList parts = toQt(filter).split('|');
  QStringList entries;
  for (int k = 0; k + 1 < parts.size(); k += 2) {
    QString patterns = parts[k + 1];
    patterns.replace(';', ' ');
    entries << parts[k].trimmed() + " (" + patterns + ")";
  }
  return entries.join(";;");
}

DialogResult QtPlatform::showMessage(const MessageRequest& request) {
  if (messageHook) return messageHook(request);
  syncAllViews();
  QMessageBox box(QApplication::activeWindow() ? QApplication::activeWindow() : mainWidget_.data());
  box.setWindowTitle(toQt(request.title));
  box.setText(toQt(request.text));
  switch (request.icon) {
    case MessageIcon::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::None:
      break;
  }
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* ok = nullptr;
  switch (request.buttons) {
    case MessageButtons::Ok:
      ok = box.addButton("OK", QMessageBox::AcceptRole);
      break;
    case MessageButtons::YesNoCancel:
      yes = box.addButton("Tak", QMessageBox::YesRole);
      no = box.addButton("Nie", QMessageBox::NoRole);
      cancel = box.addButton("Anuluj", QMessageBox::RejectRole);
      break;
    case MessageButtons::YesNo:
      yes = box.addButton("Tak", QMessageBox::YesRole);
      no = box.addButton("Nie", QMessageBox::NoRole);
      break;
  }
  if (request.defaultButton == DialogResult::No && no) box.setDefaultButton(no);
  if (request.defaultButton == DialogResult::Yes && yes) box.setDefaultButton(yes);
  if (cancel)
    box.setEscapeButton(cancel);
  else if (no)
    box.setEscapeButton(no);
  const bool wasBusy = busy_;
  if (wasBusy) QApplication::restoreOverrideCursor();
  box.exec();
  if (wasBusy) QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto* clicked = box.clickedButton();
  if (clicked == yes && yes) return DialogResult::Yes;
  if (clicked == no && no) return DialogResult::No;
  if (clicked == ok && ok) return DialogResult::Ok;
  if (request.buttons == MessageButtons::YesNo) return DialogResult::No;
  return request.buttons == MessageButtons::Ok ? DialogResult::Ok : DialogResult::Cancel;
}

namespace {

QString startPath(const FileDialogRequest& request) {
  std::filesystem::path p = request.initialFolder;
  if (!request.proposedName.empty()) {
    const std::filesystem::path proposed(request.proposedName);
    p = proposed.has_parent_path() ? proposed : request.initialFolder / proposed;
  }
  return toQt(p.string());
}

}  // namespace

std::optional<std::filesystem::path> QtPlatform::chooseOpenFile(const FileDialogRequest& request) {
  if (fileDialogHook) return fileDialogHook(request, false);
  syncAllViews();
  const QString name = QFileDialog::getOpenFileName(mainWidget_, toQt(request.title),
                                                    startPath(request), qtFilter(request.filter));
  if (name.isEmpty()) return std::nullopt;
  return std::filesystem::path(fromQt(name));
}

std::optional<std::filesystem::path> QtPlatform::chooseSaveFile(const FileDialogRequest& request) {
  if (fileDialogHook) return fileDialogHook(request, true);
  syncAllViews();
  QFileDialog dialog(mainWidget_, toQt(request.title), startPath(request),
                     qtFilter(request.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The program asks its own overwrite question, after forcing the extension.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(toQt(request.defaultExtension));
  if (!request.proposedName.empty()) {
    dialog.selectFile(toQt(std::filesystem::path(request.proposedName).filename().string()));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(fromQt(dialog.selectedFiles().front()));
}

void QtPlatform::setBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtPlatform::processPendingEvents() {
  // A long loop calls this for every unit of work; the window is repainted and input handled
  // about 30 times a second, which keeps "Przerwij" responsive without slowing the loop.
  if (sinceEvents_.elapsed() < 33) return;
  sinceEvents_.restart();
  syncAllViews();
  QApplication::processEvents();
}

void QtPlatform::beep() { QApplication::beep(); }

std::optional<std::string> QtPlatform::clipboardText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return std::nullopt;
  return fromQt(data->text());
}

void QtPlatform::setClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(toQt(text));
}

void QtPlatform::setApplicationTitle(const std::string& title) {
  if (mainWidget_) mainWidget_->setWindowTitle(toQt(title));
}

void QtPlatform::minimizeApplication() {
  if (mainWidget_) mainWidget_->showMinimized();
}

bool QtPlatform::startProgram(const std::filesystem::path& executable,
                              const std::string& parameters,
                              const std::filesystem::path& workingFolder) {
  return QProcess::startDetached(toQt(executable.string()),
                                 QProcess::splitCommand(toQt(parameters)),
                                 toQt(workingFolder.string()));
}

void QtPlatform::restoreApplication() {
  if (mainWidget_) mainWidget_->showNormal();
}

void QtPlatform::pause(int milliseconds) {
  syncAllViews();
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void QtPlatform::showModal(Form& form) {
  form.visible = true;
  // The windows behind show what the command did before it opened the dialog (commands
  // disabled, say).
  syncAllViews();
  if (auto it = views_.find(&form); it != views_.end()) it->second->runModal();
  form.visible = false;
  syncAllViews();
}

void QtPlatform::showModeless(Form& form) {
  form.visible = true;
  if (auto it = views_.find(&form); it != views_.end()) it->second->showModeless();
}

void QtPlatform::closeForm(Form& form) {
  form.visible = false;
  if (auto it = views_.find(&form); it != views_.end()) it->second->closeView();
}

void QtPlatform::registerView(Form& form, FormView& view) { views_[&form] = &view; }

void QtPlatform::unregisterView(Form& form) { views_.erase(&form); }

void QtPlatform::syncAllViews() {
  for (auto& [form, view] : views_) view->syncFromModel();
}

}  // namespace merilon::qt

// The Qt view of the main window: builds the widgets, forwards every user event to the
// window's handler and mirrors the controls.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "control_binding.h"
#include "form_view.h"
#include "memo_view.h"
#include "preview_pane.h"

namespace merilon {
class Program;
class TFORM_Main;
struct Button;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class MainWindowView : public QMainWindow, public FormView {
 public:
  MainWindowView(Program& program, QtPlatform& platform);
  ~MainWindowView() override;

  void syncFromModel() override;
  void runModal() override {}
  void showModeless() override { show(); }
  void closeView() override;

  // For tests: the widget of a command button by its caption.
  QPushButton* button(const QString& caption) const;
  QLabel* pointCountLabel() const { return pointCount_; }
  PreviewPane* previewPane() const { return preview_; }
  MemoView* logPane() const { return log_; }
  QProgressBar* progressBar() const { return progress_; }

  // Files named on the command line: opened as a drop would open them, once the first
  // activation (the about box) is over.
  void openAfterStart(std::vector<std::string> files) { startFiles_ = std::move(files); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs a handler of the window and mirrors the result.
  void run(const std::function<void()>& handler);
  QPushButton* addButton(Button& control, void (TFORM_Main::*handler)());
  void buildMenus();
  QWidget* buildRecordGroup();

  Program& program_;
  TFORM_Main& model_;
  QtPlatform& platform_;
  std::vector<std::pair<QPushButton*, const Button*>> buttons_;
  PreviewPane* preview_ = nullptr;
  MemoView* log_ = nullptr;
  QLabel* previewLabel_ = nullptr;
  QLabel* pointCount_ = nullptr;
  QLabel* info2_ = nullptr;
  QLabel* info3_ = nullptr;
  QLabel* info4_ = nullptr;
  QLabel* logLabel_ = nullptr;
  std::vector<std::pair<QComboBox*, const ComboBox*>> combos_;
  std::vector<std::pair<QLineEdit*, const Edit*>> edits_;
  QStatusBar* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  bool closeApproved_ = false;
  std::vector<std::string> startFiles_;
  bool activated_ = false;
};

}  // namespace merilon::qt

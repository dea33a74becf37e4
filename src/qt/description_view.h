// The Qt view of the description viewer (TFormtrojpomoc): the rich text, the bottom panel with
// "Wyszukiwanie" and "Zamknij", and a small find dialog.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "form_view.h"

namespace merilon {
class Program;
class TFormtrojpomoc;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class DescriptionView : public QWidget, public FormView {
 public:
  // With the main window as parent the viewer stays a window of its own but closes with the
  // program.
  DescriptionView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~DescriptionView() override;

  void syncFromModel() override;
  void runModal() override { showModeless(); }
  void showModeless() override;
  void closeView() override;

  QTextEdit* textPane() const { return text_; }
  QDialog* findDialog() const { return find_; }
  QLineEdit* findEdit() const { return findText_; }
  QPushButton* findNextButton() const { return findNext_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void run(const std::function<void()>& handler);
  void loadText();
  void layoutChildren();
  // Moves the find box off the selected match, above or below it, so the user sees what it found.
  void keepFindBoxClearOfMatch();

  Program& program_;
  TFormtrojpomoc& model_;
  QtPlatform& platform_;
  QTextEdit* text_ = nullptr;
  QWidget* panel_ = nullptr;
  QPushButton* search_ = nullptr;
  QPushButton* close_ = nullptr;
  QDialog* find_ = nullptr;
  QLineEdit* findText_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* findCancel_ = nullptr;
  std::uint64_t shownText_ = ~std::uint64_t{0};
  std::uint64_t shownFocus_ = 0;
  bool syncing_ = false;
  bool closing_ = false;
};

}  // namespace merilon::qt

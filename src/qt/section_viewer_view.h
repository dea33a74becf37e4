// The Qt view of the cross-section viewer (TFormPrzekroje): the surface showing the section,
// previous and next, the chainage drop-down, the vertical-scale choice, printing and closing.
// The section is drawn by the form on a Qt canvas; the form prints on the program's printer.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>

#include "form_view.h"
#include "qt_canvas.h"

namespace merilon {
class Program;
class TFormPrzekroje;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;
class SectionViewerView;

// Shows the canvas image of the section, drawn afresh on every resize and change.
class SectionSurface : public QWidget {
 public:
  explicit SectionSurface(SectionViewerView& view);
  QtCanvas& canvas() { return canvas_; }
  void redraw();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  SectionViewerView& view_;
  QtCanvas canvas_;
};

class SectionViewerView : public QWidget, public FormView {
 public:
  SectionViewerView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~SectionViewerView() override;

  void syncFromModel() override;
  void runModal() override { showModeless(); }
  void showModeless() override;
  void closeView() override;

  TFormPrzekroje& model() { return model_; }
  SectionSurface* surface() const { return surface_; }
  QPushButton* previousButton() const { return previous_; }
  QPushButton* nextButton() const { return next_; }
  QComboBox* chainages() const { return chainages_; }
  QRadioButton* equalButton() const { return equal_; }
  QRadioButton* exaggeratedButton() const { return exaggerated_; }
  QComboBox* factors() const { return factors_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* closeButton() const { return close_; }
  // Runs a handler of the form and mirrors the result.
  void run(const std::function<void()>& handler);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Program& program_;
  TFormPrzekroje& model_;
  QtPlatform& platform_;
  QLabel* file_ = nullptr;
  SectionSurface* surface_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QLabel* chainageCaption_ = nullptr;
  QComboBox* chainages_ = nullptr;
  QRadioButton* equal_ = nullptr;
  QRadioButton* exaggerated_ = nullptr;
  QComboBox* factors_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace merilon::qt

// The Qt view of the drawing window (TGRAFIKA): the surface EKRAN showing the canvas image, the
// toolbar ToolButton1..40, the main and pop-up menus, the status line. Mouse, wheel and keys go
// to the window's handlers; the controls are mirrored after every handler.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QToolButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "form_view.h"
#include "qt_canvas.h"

namespace merilon {
class Program;
class TGRAFIKA;
struct MenuItem;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;
class DrawingWindowView;

// EKRAN: shows the canvas image and passes the mouse on.
class DrawingSurface : public QWidget {
 public:
  explicit DrawingSurface(DrawingWindowView& view);
  QtCanvas& canvas() { return canvas_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  DrawingWindowView& view_;
  QtCanvas canvas_;
  int wheelRemainder_ = 0;
};

class DrawingWindowView : public QMainWindow, public FormView {
 public:
  DrawingWindowView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~DrawingWindowView() override;

  void syncFromModel() override;
  void runModal() override {}
  void showModeless() override;
  void closeView() override;

  TGRAFIKA& model() { return model_; }
  DrawingSurface* surface() const { return surface_; }
  QToolButton* toolButton(int n) const { return tools_[static_cast<std::size_t>(n)]; }
  QMenu* popupMenu() const { return popup_; }
  QString statusText() const;
  // Runs a handler of the window and mirrors the result.
  void run(const std::function<void()>& handler);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildToolbar();
  void buildMenus();
  void keepFrame();

  Program& program_;
  TGRAFIKA& model_;
  QtPlatform& platform_;
  DrawingSurface* surface_ = nullptr;
  std::array<QToolButton*, 41> tools_{};
  std::vector<std::pair<QAction*, const MenuItem*>> actions_;
  QMenu* popup_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace merilon::qt

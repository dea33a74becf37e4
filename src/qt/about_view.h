// The Qt view of the about box (TFormMERIInfo): the picture stretched over the window, the two
// texts, "Zamknij", and the timer that ticks the form.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "form_view.h"

namespace merilon {
class Program;
class TFormMERIInfo;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class AboutView : public QDialog, public FormView {
 public:
  AboutView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~AboutView() override;

  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;

  QLabel* informationText() const { return label1_; }
  const QTimer& timer() const { return timer_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void reject() override;

 private:
  void run(const std::function<void()>& handler);

  Program& program_;
  TFormMERIInfo& model_;
  QtPlatform& platform_;
  QPixmap picture_;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QPushButton* close_ = nullptr;
  QTimer timer_;
};

}  // namespace merilon::qt

// The Qt views of the drawing window's two dialogs: "Parametry rysowania" and "Kat obrotu". They
// only mirror the fields and forward the buttons.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "form_view.h"

namespace merilon {
class Program;
class TFormParam_rysow;
class TFormRysowan_obrot;
struct Edit;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class DrawingParamsView : public QDialog, public FormView {
 public:
  DrawingParamsView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~DrawingParamsView() override;
  void syncFromModel() override;
  void runModal() override;
  void showModeless() override { show(); }
  void closeView() override;
  QLineEdit* field(int k) const { return edits_[static_cast<std::size_t>(k - 1)].first; }
  QPushButton* closeButton() const { return close_; }

 private:
  Program& program_;
  TFormParam_rysow& model_;
  QtPlatform& platform_;
  std::vector<std::pair<QLineEdit*, Edit*>> edits_;
  QPushButton* close_ = nullptr;
};

class RotationDialogView : public QDialog, public FormView {
 public:
  RotationDialogView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~RotationDialogView() override;
  void syncFromModel() override;
  void runModal() override;
  void showModeless() override { show(); }
  void closeView() override;
  QLineEdit* angleField() const { return angle_; }
  QPushButton* acceptButton() const { return accept_; }
  QPushButton* cancelButton() const { return cancel_; }

 protected:
  void moveEvent(QMoveEvent* event) override;
  void reject() override;

 private:
  void run(const std::function<void()>& handler);
  Program& program_;
  TFormRysowan_obrot& model_;
  QtPlatform& platform_;
  QLineEdit* angle_ = nullptr;
  QPushButton* accept_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace merilon::qt

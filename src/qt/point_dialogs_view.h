// The Qt views of the point tools' dialogs: "Dane punktu" (a tool window that stays on top, with
// its pop-up item that takes X and Y from the drawing), "Generuj punkt" and "Szukaj punktu". They
// only mirror the fields and forward the buttons and the typing.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "form_view.h"

namespace merilon {
class Program;
class TFormZmienpkt;
class TFormGenerpkt;
class TFormszukaj_pkt;
struct Edit;
struct Label;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

// The fields of a dialog, mirrored both ways.
struct BoundEdit {
  QLineEdit* widget;
  Edit* control;
};
struct BoundLabel {
  QLabel* widget;
  Label* control;
};

class PointDataView : public QDialog, public FormView {
 public:
  PointDataView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~PointDataView() override;
  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;
  QLineEdit* field(int k) const { return edits_[static_cast<std::size_t>(k - 1)].widget; }
  QPushButton* applyButton() const { return apply_; }
  QPushButton* cancelButton() const { return cancel_; }
  QAction* pickAction() const { return pick_; }

 protected:
  void moveEvent(QMoveEvent* event) override;
  void reject() override;

 private:
  void run(const std::function<void()>& handler);
  Program& program_;
  TFormZmienpkt& model_;
  QtPlatform& platform_;
  std::vector<BoundEdit> edits_;  // Edit1..Edit7
  std::vector<BoundLabel> labels_;
  QPushButton* apply_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QAction* pick_ = nullptr;
};

class PointGenerationView : public QDialog, public FormView {
 public:
  PointGenerationView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~PointGenerationView() override;
  void syncFromModel() override;
  void runModal() override;
  void showModeless() override { show(); }
  void closeView() override;
  // Edit6 (proportion), Edit1 (distance), Edit2 (chainage), Edit4 (symbol), Edit5 (type).
  QLineEdit* proportionField() const { return edits_[0].widget; }
  QLineEdit* distanceField() const { return edits_[1].widget; }
  QLineEdit* chainageField() const { return edits_[2].widget; }
  QPushButton* generateButton() const { return generate_; }
  QPushButton* cancelButton() const { return cancel_; }

 protected:
  void reject() override;

 private:
  void run(const std::function<void()>& handler);
  Program& program_;
  TFormGenerpkt& model_;
  QtPlatform& platform_;
  std::vector<BoundEdit> edits_;
  QPushButton* generate_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

class PointSearchView : public QDialog, public FormView {
 public:
  PointSearchView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~PointSearchView() override;
  void syncFromModel() override;
  void runModal() override;
  void showModeless() override { show(); }
  void closeView() override;
  QLineEdit* numberField() const { return edits_[0].widget; }
  QLineEdit* symbolField() const { return edits_[1].widget; }
  QLineEdit* heightField() const { return edits_[2].widget; }
  QLineEdit* toleranceField() const { return edits_[3].widget; }
  QCheckBox* nextBox() const { return next_; }
  QPushButton* searchButton() const { return search_; }

 private:
  void run(const std::function<void()>& handler);
  Program& program_;
  TFormszukaj_pkt& model_;
  QtPlatform& platform_;
  std::vector<BoundEdit> edits_;  // Edit1, Edit4, Edit2, Edit3
  QCheckBox* next_ = nullptr;
  QPushButton* search_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace merilon::qt

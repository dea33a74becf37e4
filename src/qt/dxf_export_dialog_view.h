// The Qt view of the DXF export dialog (TFormDXF, "Dane rysunku DXF 3D"): the four point boxes
// with the label height, the cross-section box with the chainage label height, "Dalej" and
// "Rezygnuj". A non-modal dialog created once, so its settings last until the program ends.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <utility>
#include <vector>

#include "form_view.h"

namespace merilon {
class Program;
class TFormDXF;
struct CheckBox;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class DxfExportDialogView : public QDialog, public FormView {
 public:
  DxfExportDialogView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~DxfExportDialogView() override;

  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;

  QCheckBox* pointsBox() const { return boxes_[0].first; }
  QCheckBox* symbolsBox() const { return boxes_[1].first; }
  QCheckBox* heightsBox() const { return boxes_[2].first; }
  QCheckBox* numbersBox() const { return boxes_[3].first; }
  QCheckBox* sectionsBox() const { return boxes_[4].first; }
  QLineEdit* labelHeightEdit() const { return labelHeight_; }
  QLineEdit* chainageLabelHeightEdit() const { return chainageHeight_; }
  QPushButton* nextButton() const { return next_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  void run(const std::function<void()>& handler);
  QCheckBox* addBox(CheckBox& control);
  void reject() override;

  Program& program_;
  TFormDXF& model_;
  QtPlatform& platform_;
  QGroupBox* group_ = nullptr;
  std::vector<std::pair<QCheckBox*, CheckBox*>> boxes_;
  QLabel* labelHeightCaption_ = nullptr;
  QLabel* chainageHeightCaption_ = nullptr;
  QLineEdit* labelHeight_ = nullptr;
  QLineEdit* chainageHeight_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace merilon::qt

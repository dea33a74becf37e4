// The Qt view of the cross-section dialog (TFormPoprzeczka): the alignment choice and header
// text, the chainage and width fields, the two code options and the buttons. It only mirrors the
// form's controls and forwards the presses.
#pragma once

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "alignment_choice_view.h"
#include "form_view.h"

namespace merilon {
class Program;
class TFormPoprzeczka;
struct Edit;
struct Label;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class CrossSectionDialogView : public QDialog, public FormView {
 public:
  CrossSectionDialogView(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~CrossSectionDialogView() override;

  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;

  QPushButton* chooseAlignmentButton() const { return choose_; }
  QPushButton* generateButton() const { return generate_; }
  QPushButton* closeButton() const { return close_; }
  QLabel* headerText() const { return header_; }
  QLineEdit* startChainageEdit() const { return start_; }
  QLineEdit* endChainageEdit() const { return end_; }
  QLineEdit* leftWidthEdit() const { return left_; }
  QLineEdit* rightWidthEdit() const { return right_; }
  QLineEdit* rangeEdit() const { return range_; }
  QLineEdit* accuracyEdit() const { return accuracy_; }
  QLineEdit* singleDistanceEdit() const { return single_; }
  QRadioButton* allPointsCodesButton() const { return allCodes_; }
  QRadioButton* boundaryCodesButton() const { return boundaryCodes_; }
  AlignmentChoiceView* alignmentChoice() const { return choice_; }

 protected:
  // Esc and the close box: the close button ("Rezygnuj" or "Zamknij"), not while generating.
  void reject() override;

 private:
  void run(const std::function<void()>& handler);
  // Makes the window tall enough for the description as it wraps at the window's width.
  void fitHeightToText();
  QLineEdit* addField(QGridLayout* grid, int row, int column, Label& caption, Edit& edit);

  Program& program_;
  TFormPoprzeczka& model_;
  QtPlatform& platform_;
  QPushButton* choose_ = nullptr;
  QLabel* headerTitle_ = nullptr;
  QLabel* header_ = nullptr;
  QLineEdit *start_ = nullptr, *end_ = nullptr, *left_ = nullptr, *right_ = nullptr;
  QLineEdit *range_ = nullptr, *accuracy_ = nullptr, *single_ = nullptr;
  std::vector<std::pair<QLabel*, Label*>> captions_;
  std::vector<std::pair<QLineEdit*, Edit*>> edits_;
  QRadioButton* allCodes_ = nullptr;
  QRadioButton* boundaryCodes_ = nullptr;
  QPushButton* generate_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* abort_ = nullptr;
  bool running_ = false;
  AlignmentChoiceView* choice_ = nullptr;
};

}  // namespace merilon::qt

// The Qt view of the choice among the alignments of a LandXML file (TFormWyborTrasy): the list
// of names and lengths with "OK" and "Rezygnuj". It only mirrors the form and forwards presses.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "form_view.h"

namespace merilon {
class TFormWyborTrasy;
}  // namespace merilon

namespace merilon::qt {

class QtPlatform;

class AlignmentChoiceView : public QDialog, public FormView {
 public:
  AlignmentChoiceView(TFormWyborTrasy& model, QtPlatform& platform, QWidget* parent = nullptr);
  ~AlignmentChoiceView() override;

  void syncFromModel() override;
  void runModal() override;
  void showModeless() override;
  void closeView() override;

  QListWidget* list() const { return list_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 protected:
  void reject() override;

 private:
  TFormWyborTrasy& model_;
  QtPlatform& platform_;
  QLabel* label_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool syncing_ = false;
};

}  // namespace merilon::qt

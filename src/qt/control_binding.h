// Mirrors single controls into Qt widgets and widget edits back into the controls. Every view
// builds on these, so the two-way rules live in one place.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cstdint>

#include "platform/controls.h"
#include "platform/platform.h"

namespace merilon::qt {

// Swallows the characters a number field does not take (with the system beep), by the control's
// key filter; keys that type no character pass.
class KeyFilterObject : public QObject {
 public:
  KeyFilterObject(QObject* parent, Platform& platform, const Edit& control);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Platform& platform_;
  const Edit& control_;
};

void syncButton(QPushButton* widget, const Button& control);
void syncLabel(QLabel* widget, const Label& control);
void syncProgress(QProgressBar* widget, const ProgressBar& control);
// Edits: copies text only when it differs, so the caret does not jump while typing.
void syncEdit(QLineEdit* widget, const Edit& control);
void syncCombo(QComboBox* widget, const ComboBox& control);

// Binds an edit or editable combo: widget edits go into the control at once; keys are filtered.
void bindEdit(QLineEdit* widget, Edit& control, Platform& platform);
void bindCombo(QComboBox* widget, ComboBox& control, Platform& platform);

// A plain-text pane mirroring a Memo. Appends are added at the end instead of reloading the
// whole text; edits by the user are pulled into the Memo before a handler reads it.
class MemoBinding {
 public:
  MemoBinding(QPlainTextEdit* widget, Memo& control);
  void syncFromModel();
  // Copies the user's edits into the control when the pane was edited.
  void pullEdits();
  // Empties the pane; the next mirroring loads the whole text again.
  void reset();

 private:
  QPlainTextEdit* widget_;
  Memo& control_;
  std::uint64_t shownRevision_ = ~std::uint64_t{0};
  std::size_t shownLines_ = 0;
  bool edited_ = false;
  bool loading_ = false;
};

}  // namespace merilon::qt

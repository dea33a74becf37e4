// The main window's preview pane. While the preview is read-only it is a MemoView drawing the
// lines on screen straight from the Memo; "Edytuj tekst" switches it to a plain-text editor
// holding a copy of the text, whose edits go back into the Memo before a handler reads it.
#pragma once

#include <QPlainTextEdit>
#include <QStackedWidget>
#include <memory>

#include "control_binding.h"
#include "memo_view.h"

namespace merilon {
class Memo;
}

namespace merilon::qt {

class PreviewPane : public QStackedWidget {
 public:
  PreviewPane(Memo& memo, QWidget* parent = nullptr);

  void syncFromModel();
  // Copies the user's edits into the Memo when the editor was edited.
  void pullEdits();

  bool isEditing() const { return currentWidget() == editor_; }
  MemoView* view() const { return view_; }
  QPlainTextEdit* editor() const { return editor_; }

 private:
  Memo& memo_;
  MemoView* view_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  std::unique_ptr<MemoBinding> editorBinding_;
};

}  // namespace merilon::qt

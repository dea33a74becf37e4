#include "preview_pane.h"

#include "platform/controls.h"

namespace merilon::qt {

PreviewPane::PreviewPane(Memo& memo, QWidget* parent) : QStackedWidget(parent), memo_(memo) {
  view_ = new MemoView(memo_, this);
  editor_ = new QPlainTextEdit(this);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  for (QAbstractScrollArea* pane :
       {static_cast<QAbstractScrollArea*>(view_), static_cast<QAbstractScrollArea*>(editor_)}) {
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  addWidget(view_);
  addWidget(editor_);
  editorBinding_ = std::make_unique<MemoBinding>(editor_, memo_);
  setCurrentWidget(view_);
}

void PreviewPane::syncFromModel() {
  if (memo_.readOnly) {
    if (isEditing()) {
      const bool hadFocus = editor_->hasFocus();
      setCurrentWidget(view_);
      // The editor's copy of a large text would otherwise stay in memory.
      editorBinding_->reset();
      if (hadFocus) view_->setFocus();
    }
    view_->syncFromModel();
    return;
  }
  if (!isEditing()) {
    const bool hadFocus = view_->hasFocus();
    setCurrentWidget(editor_);
    if (hadFocus) editor_->setFocus();
  }
  editorBinding_->syncFromModel();
}

void PreviewPane::pullEdits() {
  if (isEditing()) editorBinding_->pullEdits();
}

}  // namespace merilon::qt

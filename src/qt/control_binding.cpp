#include "control_binding.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>

#include "points/numeric_helpers.h"
#include "qt_text.h"

namespace merilon::qt {

KeyFilterObject::KeyFilterObject(QObject* parent, Platform& platform, const Edit& control)
    : QObject(parent), platform_(platform), control_(control) {}

bool KeyFilterObject::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || control_.keyFilter == KeyFilter::None) {
    return QObject::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  const QString text = key->text();
  // The filter judges typed characters only. Enter, Esc, Tab, Backspace and Delete carry control
  // characters, moving keys carry none, and shortcuts come with Ctrl: all of them do what they do
  // in any dialog (Enter presses the default button, Esc closes).
  if (text.isEmpty() || !text.front().isPrint() || (key->modifiers() & Qt::ControlModifier)) {
    return false;
  }
  const char32_t ch = text.toUcs4().value(0);
  const bool pass = control_.keyFilter == KeyFilter::Integer ? integerKeyFilter(platform_, ch)
                                                             : decimalKeyFilter(platform_, ch);
  return !pass;
}

void syncButton(QPushButton* w, const Button& c) {
  const QString caption = toQt(c.caption);
  if (w->text() != caption) w->setText(caption);
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
  const QString hint = toQt(c.hint);
  if (w->toolTip() != hint) w->setToolTip(hint);
}

void syncLabel(QLabel* w, const Label& c) {
  const QString caption = toQt(c.caption);
  if (w->text() != caption) w->setText(caption);
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void syncProgress(QProgressBar* w, const ProgressBar& c) {
  if (w->minimum() != c.minimum || w->maximum() != c.maximum) w->setRange(c.minimum, c.maximum);
  if (w->value() != c.position) w->setValue(c.position);
}

void syncEdit(QLineEdit* w, const Edit& c) {
  const QString text = toQt(c.text);
  if (w->text() != text) w->setText(text);
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  if (w->isReadOnly() != c.readOnly) w->setReadOnly(c.readOnly);
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void syncCombo(QComboBox* w, const ComboBox& c) {
  bool same = w->count() == static_cast<int>(c.items.size());
  for (int k = 0; same && k < w->count(); ++k) {
    same = w->itemText(k) == toQt(c.items[static_cast<std::size_t>(k)]);
  }
  // A new list of the same length (the chainages of another file) is a new list too.
  if (!same) {
    // Quietly: clearing the list empties the edit text, which would otherwise be written back
    // into the form's text before that text is shown.
    const QSignalBlocker quiet(w);
    const QString keep = w->currentText();
    w->clear();
    for (const auto& item : c.items) w->addItem(toQt(item));
    w->setEditText(keep);
  }
  const QString text = toQt(c.text);
  if (w->currentText() != text) w->setEditText(text);
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void bindEdit(QLineEdit* w, Edit& c, Platform& platform) {
  if (c.maxLength > 0) w->setMaxLength(c.maxLength);
  w->setToolTip(toQt(c.hint));
  w->installEventFilter(new KeyFilterObject(w, platform, c));
  QObject::connect(w, &QLineEdit::textEdited, w, [&c](const QString& t) { c.text = fromQt(t); });
  syncEdit(w, c);
}

void bindCombo(QComboBox* w, ComboBox& c, Platform& platform) {
  w->setEditable(true);
  w->setInsertPolicy(QComboBox::NoInsert);
  for (const auto& item : c.items) w->addItem(toQt(item));
  if (c.maxLength > 0) w->lineEdit()->setMaxLength(c.maxLength);
  w->lineEdit()->installEventFilter(new KeyFilterObject(w, platform, c));
  QObject::connect(w, &QComboBox::editTextChanged, w,
                   [&c](const QString& t) { c.text = fromQt(t); });
  syncCombo(w, c);
}

MemoBinding::MemoBinding(QPlainTextEdit* widget, Memo& control)
    : widget_(widget), control_(control) {
  QObject::connect(widget_, &QPlainTextEdit::textChanged, widget_, [this] {
    if (!loading_) edited_ = true;
  });
}

void MemoBinding::pullEdits() {
  if (!edited_) return;
  edited_ = false;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(widget_->blockCount()));
  for (QTextBlock b = widget_->document()->begin(); b.isValid(); b = b.next()) {
    lines.push_back(fromQt(b.text()));
  }
  // An empty pane is one empty block; it holds no line.
  if (lines.size() == 1 && lines.front().empty()) lines.clear();
  control_.setLines(std::move(lines));
  shownRevision_ = control_.revision();
  shownLines_ = control_.lineCount();
}

void MemoBinding::reset() {
  loading_ = true;
  widget_->clear();
  loading_ = false;
  edited_ = false;
  shownRevision_ = ~std::uint64_t{0};
  shownLines_ = 0;
}

namespace {

// Lines [from, to) of the memo joined by line breaks.
QString joinedLines(const Memo& memo, std::size_t from, std::size_t to) {
  qsizetype total = 0;
  for (std::size_t k = from; k < to; ++k) total += static_cast<qsizetype>(memo.line(k).size()) + 1;
  QString text;
  text.reserve(total);
  for (std::size_t k = from; k < to; ++k) {
    if (k > from) text += '\n';
    const std::string_view line = memo.line(k);
    text += QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  }
  return text;
}

}  // namespace

void MemoBinding::syncFromModel() {
  if (widget_->isReadOnly() != control_.readOnly) widget_->setReadOnly(control_.readOnly);
  if (control_.revision() == shownRevision_) return;
  loading_ = true;
  const std::size_t count = control_.lineCount();
  const bool onlyAppended = shownRevision_ != ~std::uint64_t{0} &&
                            control_.replacedRevision() <= shownRevision_ && count > shownLines_ &&
                            !edited_;
  if (onlyAppended && shownLines_ > 0) {
    // Lines were appended: add only those (the log grows line by line during imports).
    widget_->appendPlainText(joinedLines(control_, shownLines_, count));
  } else {
    widget_->setPlainText(joinedLines(control_, 0, count));
  }
  if (onlyAppended) widget_->verticalScrollBar()->setValue(widget_->verticalScrollBar()->maximum());
  loading_ = false;
  shownRevision_ = control_.revision();
  shownLines_ = count;
}

}  // namespace merilon::qt

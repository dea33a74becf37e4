#include "description_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "application_setup.h"
#include "control_binding.h"
#include "qt_platform.h"
#include "qt_text.h"
#include "shell/program.h"

namespace merilon::qt {

DescriptionView::DescriptionView(Program& program, QtPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window),
      program_(program),
      model_(program.Formtrojpomoc),
      platform_(platform) {
  setWindowTitle(toQt(model_.Caption));
  text_ = new QTextEdit(this);
  text_->setReadOnly(true);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = text_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
  palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
  text_->setPalette(palette);
  connect(text_, &QTextEdit::selectionChanged, this, [this] {
    if (syncing_) return;
    const QTextCursor c = text_->textCursor();
    model_.RichEdit1.selStart = c.selectionStart();
    model_.RichEdit1.selLength = c.selectionEnd() - c.selectionStart();
  });

  panel_ = new QWidget(this);
  search_ = new QPushButton(panel_);
  close_ = new QPushButton(panel_);
  connect(search_, &QPushButton::clicked, this, [this] { run([this] { model_.Button3Click(); }); });
  connect(close_, &QPushButton::clicked, this, [this] { run([this] { model_.Button1Click(); }); });

  // The find dialog: search text, "Znajdź następny" and "Anuluj"; its case and whole-word
  // options are never shown.
  find_ = new QDialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  find_->setWindowTitle("Znajdowanie");
  auto* findLayout = new QHBoxLayout(find_);
  findLayout->addWidget(new QLabel("Znajdź:", find_));
  findText_ = new QLineEdit(find_);
  findLayout->addWidget(findText_, 1);
  findNext_ = new QPushButton("Znajdź następny", find_);
  findNext_->setDefault(true);
  findCancel_ = new QPushButton("Anuluj", find_);
  findLayout->addWidget(findNext_);
  findLayout->addWidget(findCancel_);
  connect(findText_, &QLineEdit::textEdited, this,
          [this](const QString& s) { model_.FindDialog1.FindText = fromQt(s); });
  connect(findNext_, &QPushButton::clicked, this, [this] {
    model_.FindDialog1.FindText = fromQt(findText_->text());
    run([this] { model_.FindDialog1Find(); });
  });
  connect(findCancel_, &QPushButton::clicked, find_, &QDialog::reject);
  connect(find_, &QDialog::finished, this, [this] { model_.FindDialog1.open = false; });

  resize(model_.Width, model_.ClientHeight);
  centreOnScreen(*this);
  platform_.registerView(model_, *this);
  syncFromModel();
}

DescriptionView::~DescriptionView() { platform_.unregisterView(model_); }

void DescriptionView::run(const std::function<void()>& handler) {
  program_.runHandler(handler);
  platform_.syncAllViews();
}

void DescriptionView::loadText() {
  text_->clear();
  QTextCursor cursor(text_->document());
  bool first = true;
  for (const auto& paragraph : model_.RichEdit1.text.paragraphs) {
    if (!first) cursor.insertBlock();
    first = false;
    for (const auto& run : paragraph.runs) {
      QTextCharFormat format;
      format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
      format.setFontItalic(run.italic);
      cursor.insertText(toQt(run.text), format);
    }
  }
  text_->moveCursor(QTextCursor::Start);
}

void DescriptionView::syncFromModel() {
  syncing_ = true;
  const RichEdit& edit = model_.RichEdit1;
  if (edit.textRevision != shownText_) {
    shownText_ = edit.textRevision;
    loadText();
  }
  QTextCursor cursor = text_->textCursor();
  if (cursor.selectionStart() != edit.selStart ||
      cursor.selectionEnd() - cursor.selectionStart() != edit.selLength) {
    cursor.setPosition(edit.selStart);
    cursor.setPosition(edit.selStart + edit.selLength, QTextCursor::KeepAnchor);
    text_->setTextCursor(cursor);
    keepFindBoxClearOfMatch();
  }
  if (edit.focusRequests != shownFocus_) {
    shownFocus_ = edit.focusRequests;
    text_->setFocus();
  }
  syncButton(search_, model_.Button3);
  syncButton(close_, model_.Button1);
  if (find_->isVisible() != model_.FindDialog1.open) {
    if (model_.FindDialog1.open) {
      findText_->setText(toQt(model_.FindDialog1.FindText));
      find_->show();
      find_->raise();
    } else {
      find_->hide();
    }
  }
  syncing_ = false;
}

void DescriptionView::keepFindBoxClearOfMatch() {
  const QTextCursor selection = text_->textCursor();
  if (!find_->isVisible() || !selection.hasSelection()) return;
  text_->ensureCursorVisible();
  QTextCursor start = selection;
  start.setPosition(selection.selectionStart());
  QTextCursor end = selection;
  end.setPosition(selection.selectionEnd());
  const QRect local = text_->cursorRect(start).united(text_->cursorRect(end));
  const QRect match(text_->viewport()->mapToGlobal(local.topLeft()), local.size());
  const QRect box = find_->frameGeometry();
  if (!box.intersects(match)) return;
  const QScreen* screen = find_->screen() ? find_->screen() : QApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(box.topLeft(), box.size() * 4);
  const int gap = 8;
  int top = match.bottom() + 1 + gap;
  if (top + box.height() > area.bottom() + 1) top = match.top() - gap - box.height();
  find_->move(box.left(), std::max(area.top(), top));
}

void DescriptionView::layoutChildren() {
  const int w = width();
  text_->setGeometry(0, 0, w, model_.RichEdit1.height);
  panel_->setGeometry(0, height() - model_.panelHeight, w, model_.panelHeight);
  const int buttonHeight = 25;
  const int top = (model_.panelHeight - buttonHeight) / 2;
  search_->setGeometry(8, top, 100, buttonHeight);
  close_->setGeometry(model_.button1Left, top, model_.button1Width, buttonHeight);
}

void DescriptionView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  model_.Width = width();
  model_.ClientHeight = height();
  model_.FormResize();
  if (model_.Width != width() || model_.ClientHeight != height()) {
    resize(model_.Width, model_.ClientHeight);  // springs back; a new resize event follows
    return;
  }
  layoutChildren();
}

void DescriptionView::showModeless() {
  syncFromModel();
  show();
  raise();
  activateWindow();
}

void DescriptionView::closeView() {
  closing_ = true;
  find_->hide();
  hide();
  closing_ = false;
}

void DescriptionView::closeEvent(QCloseEvent* event) {
  if (!closing_) run([this] { model_.Button1Click(); });
  event->accept();
}

}  // namespace merilon::qt

#include "memo_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/controls.h"

namespace merilon::qt {

namespace {

// As in the plain-text editor the pane switches to for editing: the same margin and tab stops,
// so the text does not move when the user presses "Edytuj tekst".
constexpr int kMargin = 4;
constexpr qreal kTabStop = 80;
// Selections longer than this go to the clipboard only on request, not to the X11 selection at
// every release of the mouse button.
constexpr std::size_t kMaxSelectionLines = 100000;
// A line is drawn up to this many bytes: a file without line breaks would otherwise be laid out
// whole at every paint. Copying still takes the whole line.
constexpr std::size_t kMaxShownBytes = 20000;

void layOut(QTextLayout& layout) {
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(kTabStop);
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) line.setLineWidth(1e7);
  layout.endLayout();
}

bool isWordCharacter(QChar c) { return c.isLetterOrNumber() || c == '.' || c == '-' || c == '_'; }

QString menuText(const char* qtText, QKeySequence::StandardKey key) {
  // Qt's own texts, so that its Polish translation names them as the editor's menu does.
  return QCoreApplication::translate("QWidgetTextControl", qtText) + '\t' +
         QKeySequence(key).toString(QKeySequence::NativeText);
}

}  // namespace

MemoView::MemoView(const Memo& memo, QWidget* parent) : QAbstractScrollArea(parent), memo_(memo) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  scrollTimer_.setInterval(50);
  connect(&scrollTimer_, &QTimer::timeout, this, [this] { autoScroll(); });
}

QString MemoView::lineText(std::size_t line) const {
  const std::string_view text = memo_.line(line);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString MemoView::shownText(std::size_t line) const {
  const std::string_view text = memo_.line(line).substr(0, kMaxShownBytes);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

qreal MemoView::columnX(const QString& text, qsizetype column) const {
  QTextLayout layout(text, font());
  layOut(layout);
  return layout.lineAt(0).cursorToX(
      static_cast<int>(std::clamp<qsizetype>(column, 0, text.size())));
}

qsizetype MemoView::columnAt(const QString& text, qreal x) const {
  QTextLayout layout(text, font());
  layOut(layout);
  return layout.lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters);
}

qreal MemoView::lineWidth(const QString& text) const {
  QTextLayout layout(text, font());
  layOut(layout);
  return layout.lineAt(0).naturalTextWidth();
}

int MemoView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int MemoView::textLeft() const { return kMargin - horizontalScrollBar()->value(); }

std::size_t MemoView::firstVisibleLine() const {
  return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
}

std::size_t MemoView::visibleLineCount() const {
  return static_cast<std::size_t>(std::max(1, (viewport()->height() - kMargin) / lineHeight()));
}

void MemoView::measureLines(std::size_t from) {
  // Measuring every line would cost as much as copying them; the line with the most bytes is
  // (nearly always) the widest, and painting widens the range for any wider line it meets.
  const std::size_t count = memo_.lineCount();
  std::size_t longest = count;
  for (std::size_t i = from; i < count; ++i) {
    const std::size_t bytes = memo_.line(i).size();
    if (bytes > longestBytes_) {
      longestBytes_ = bytes;
      longest = i;
    }
  }
  if (longest < count) {
    contentWidth_ = std::max(
        contentWidth_, static_cast<int>(std::ceil(lineWidth(shownText(longest)))) + 2 * kMargin);
  }
}

void MemoView::updateScrollBars() {
  const std::size_t count = memo_.lineCount();
  const std::size_t page = visibleLineCount();
  const int maxFirst = static_cast<int>(count > page ? count - page : 0);
  verticalScrollBar()->setRange(0, maxFirst);
  verticalScrollBar()->setPageStep(static_cast<int>(page));
  verticalScrollBar()->setSingleStep(1);
  const int width = viewport()->width();
  horizontalScrollBar()->setRange(0, std::max(0, contentWidth_ - width));
  horizontalScrollBar()->setPageStep(width);
  horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
}

void MemoView::syncFromModel() {
  if (memo_.revision() == shownRevision_) return;
  const std::size_t count = memo_.lineCount();
  const bool onlyAppended = shownRevision_ != ~std::uint64_t{0} &&
                            memo_.replacedRevision() <= shownRevision_ && count >= shownLines_;
  if (onlyAppended) {
    measureLines(shownLines_);
  } else {
    longestBytes_ = 0;
    contentWidth_ = 0;
    anchor_ = cursor_ = Position{};
    measureLines(0);
  }
  const bool grew = count > shownLines_;
  shownRevision_ = memo_.revision();
  shownLines_ = count;
  updateScrollBars();
  if (!onlyAppended) {
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
  } else if (grew) {
    // Appended lines (text from the clipboard) are shown at the end, as the editor did.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  }
  viewport()->update();
}

void MemoView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPalette& pal = palette();
  painter.setPen(pal.color(QPalette::Text));
  const std::size_t count = memo_.lineCount();
  const std::size_t first = firstVisibleLine();
  const int height = lineHeight();
  const Position from = std::min(anchor_, cursor_);
  const Position to = std::max(anchor_, cursor_);
  QTextCharFormat selected;
  selected.setBackground(pal.brush(QPalette::Highlight));
  selected.setForeground(pal.brush(QPalette::HighlightedText));
  int widest = contentWidth_;
  for (std::size_t i = first; i < count; ++i) {
    const int top = kMargin + static_cast<int>(i - first) * height;
    if (top > viewport()->height()) break;
    const QString text = shownText(i);
    QTextLayout layout(text, font());
    layOut(layout);
    QList<QTextLayout::FormatRange> ranges;
    if (hasSelection() && i >= from.line && i <= to.line) {
      const qsizetype start = i == from.line ? std::min(from.column, text.size()) : 0;
      const qsizetype end = i == to.line ? std::min(to.column, text.size()) : text.size();
      if (end > start)
        ranges.append({static_cast<int>(start), static_cast<int>(end - start), selected});
      if (i < to.line) {
        // The selected line break, as editors show it: a space's width after the text.
        const qreal x = textLeft() + layout.lineAt(0).naturalTextWidth();
        painter.fillRect(QRectF(x, top, fontMetrics().horizontalAdvance(' '), height),
                         pal.brush(QPalette::Highlight));
      }
    }
    layout.draw(&painter, QPointF(textLeft(), top), ranges);
    widest = std::max(
        widest, static_cast<int>(std::ceil(layout.lineAt(0).naturalTextWidth())) + 2 * kMargin);
  }
  if (widest > contentWidth_) {
    contentWidth_ = widest;
    // Not while painting: a new range may scroll, which asks for another paint.
    QMetaObject::invokeMethod(
        this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
  }
}

void MemoView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void MemoView::scrollContentsBy(int, int) { viewport()->update(); }

void MemoView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    contentWidth_ = 0;
    longestBytes_ = 0;
    measureLines(0);
    updateScrollBars();
    viewport()->update();
  }
}

MemoView::Position MemoView::positionAt(const QPoint& point) const {
  const std::size_t count = memo_.lineCount();
  if (count == 0) return {};
  const long long row =
      static_cast<long long>(std::floor(static_cast<double>(point.y() - kMargin) / lineHeight()));
  const long long line = static_cast<long long>(firstVisibleLine()) + row;
  if (line < 0) return {0, 0};
  if (line >= static_cast<long long>(count)) return {count - 1, lineText(count - 1).size()};
  const auto index = static_cast<std::size_t>(line);
  return {index, columnAt(shownText(index), point.x() - textLeft())};
}

QPoint MemoView::pointOf(Position p) const {
  const long long row = static_cast<long long>(p.line) - static_cast<long long>(firstVisibleLine());
  const int x =
      p.line < memo_.lineCount()
          ? textLeft() + static_cast<int>(std::lround(columnX(shownText(p.line), p.column)))
          : textLeft();
  return {x, kMargin + static_cast<int>(row) * lineHeight()};
}

void MemoView::select(Position from, Position to) {
  const std::size_t count = memo_.lineCount();
  auto clamp = [&](Position p) -> Position {
    if (count == 0) return {};
    if (p.line >= count) return {count - 1, lineText(count - 1).size()};
    return {p.line, std::clamp<qsizetype>(p.column, 0, lineText(p.line).size())};
  };
  anchor_ = clamp(from);
  cursor_ = clamp(to);
  viewport()->update();
}

void MemoView::selectAll() {
  const std::size_t count = memo_.lineCount();
  if (count == 0) return;
  select({0, 0}, {count - 1, lineText(count - 1).size()});
}

QString MemoView::selectedText() const {
  if (!hasSelection()) return {};
  const Position from = std::min(anchor_, cursor_);
  const Position to = std::max(anchor_, cursor_);
  QString text;
  for (std::size_t i = from.line; i <= to.line && i < memo_.lineCount(); ++i) {
    const QString line = lineText(i);
    const qsizetype start = i == from.line ? from.column : 0;
    const qsizetype end = i == to.line ? to.column : line.size();
    if (i > from.line) text += '\n';
    text += line.mid(start, end - start);
  }
  return text;
}

void MemoView::copy() const {
  if (hasSelection()) QApplication::clipboard()->setText(selectedText());
}

void MemoView::extendSelectionTo(const QPoint& point) {
  const Position p = positionAt(point);
  if (p != cursor_) {
    cursor_ = p;
    viewport()->update();
  }
}

void MemoView::autoScroll() {
  const int y = lastMouse_.y();
  QScrollBar* bar = verticalScrollBar();
  if (y < 0) {
    bar->setValue(bar->value() - 1);
  } else if (y > viewport()->height()) {
    bar->setValue(bar->value() + 1);
  }
  const int x = lastMouse_.x();
  QScrollBar* across = horizontalScrollBar();
  if (x < 0) {
    across->setValue(across->value() - across->singleStep());
  } else if (x > viewport()->width()) {
    across->setValue(across->value() + across->singleStep());
  }
  extendSelectionTo(lastMouse_);
}

void MemoView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const Position p = positionAt(event->position().toPoint());
  cursor_ = p;
  if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = p;
  selecting_ = true;
  lastMouse_ = event->position().toPoint();
  viewport()->update();
}

void MemoView::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  lastMouse_ = event->position().toPoint();
  extendSelectionTo(lastMouse_);
  const bool outside = !viewport()->rect().contains(lastMouse_);
  if (outside && !scrollTimer_.isActive()) scrollTimer_.start();
  if (!outside) scrollTimer_.stop();
}

void MemoView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  selecting_ = false;
  scrollTimer_.stop();
  QClipboard* clipboard = QApplication::clipboard();
  const std::size_t lines =
      std::max(anchor_.line, cursor_.line) - std::min(anchor_.line, cursor_.line);
  if (hasSelection() && clipboard->supportsSelection() && lines < kMaxSelectionLines) {
    clipboard->setText(selectedText(), QClipboard::Selection);
  }
}

void MemoView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || memo_.lineCount() == 0) return;
  const Position p = positionAt(event->position().toPoint());
  const QString text = shownText(p.line);
  qsizetype start = std::min(p.column, text.size());
  qsizetype end = start;
  while (start > 0 && isWordCharacter(text[start - 1])) --start;
  while (end < text.size() && isWordCharacter(text[end])) ++end;
  select({p.line, start}, {p.line, end});
}

void MemoView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copy();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
    return;
  }
  // The keys move the view, as in a read-only editor: there is no caret to move.
  struct ScrollKey {
    int key;
    QAbstractSlider::SliderAction down;
    QAbstractSlider::SliderAction across;
  };
  using A = QAbstractSlider;
  static constexpr ScrollKey kScrollKeys[] = {
      {Qt::Key_Up, A::SliderSingleStepSub, A::SliderNoAction},
      {Qt::Key_Down, A::SliderSingleStepAdd, A::SliderNoAction},
      {Qt::Key_PageUp, A::SliderPageStepSub, A::SliderNoAction},
      {Qt::Key_PageDown, A::SliderPageStepAdd, A::SliderNoAction},
      {Qt::Key_Home, A::SliderToMinimum, A::SliderToMinimum},
      {Qt::Key_End, A::SliderToMaximum, A::SliderNoAction},
      {Qt::Key_Left, A::SliderNoAction, A::SliderSingleStepSub},
      {Qt::Key_Right, A::SliderNoAction, A::SliderSingleStepAdd},
  };
  for (const ScrollKey& k : kScrollKeys) {
    if (event->key() != k.key) continue;
    verticalScrollBar()->triggerAction(k.down);
    horizontalScrollBar()->triggerAction(k.across);
    return;
  }
  event->ignore();
}

std::unique_ptr<QMenu> MemoView::createContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  QAction* copyAction =
      menu->addAction(menuText("&Copy", QKeySequence::Copy), this, [this] { copy(); });
  copyAction->setEnabled(hasSelection());
  menu->addSeparator();
  QAction* all = menu->addAction(menuText("Select All", QKeySequence::SelectAll), this,
                                 [this] { selectAll(); });
  all->setEnabled(memo_.lineCount() > 0);
  return menu;
}

void MemoView::contextMenuEvent(QContextMenuEvent* event) {
  createContextMenu()->exec(event->globalPos());
}

}  // namespace merilon::qt
